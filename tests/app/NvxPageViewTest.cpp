#include "app/NvxPageView.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <tuple>
#include <utility>

#include "pages/f_NVX.h"

void PrintTo(const QRect& r, std::ostream* os)
{
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace nvx {
namespace {

const QString kOffText = QStringLiteral(
    "К программе подключен датчик \"NVX\" без защиты от животных.\n"
    "Если вы хотите включить функцию защиты от животных до 10 кг - нажмите кнопку.");
const QString kOnText = QStringLiteral(
    "К программе подключен датчик \"NVX\" с защитой от животных.\n"
    "Если вы хотите отлючить функцию защиты от животных до 10 кг - нажмите кнопку.");

QImage Rendered(const QString& path)
{
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, 256, 256));
    return image;
}

QImage Shown(const QToolButton& button)
{
    return button.icon().pixmap(QSize(256, 256)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Whether every character of `fragment` in the document has the given boldness.
::testing::AssertionResult AllBold(const QTextDocument& doc, const QString& fragment, bool bold)
{
    const QTextCursor found = doc.find(fragment);
    if (found.isNull())
        return ::testing::AssertionFailure() << "no \"" << fragment.toStdString() << "\"";
    for (int pos = found.selectionStart() + 1; pos <= found.selectionEnd(); ++pos) {
        QTextCursor c(const_cast<QTextDocument*>(&doc));
        c.setPosition(pos);
        if ((c.charFormat().fontWeight() >= QFont::Bold) != bold)
            return ::testing::AssertionFailure() << "character " << pos << " of \"" << fragment.toStdString()
                                                 << "\" is " << (bold ? "not bold" : "bold");
    }
    return ::testing::AssertionSuccess();
}

class NvxPageViewTest : public ::testing::Test {
protected:
    void makeView()
    {
        view = std::make_unique<NvxPageView>(page);
        note = view->findChild<QTextBrowser*>("RzRichEdit1");
        button = view->findChild<QToolButton*>("CatButton");
        for (QLabel* label : view->findChildren<QLabel*>())
            if (label->text() == NvxPageView::writingText())
                writing = label;
        ASSERT_NE(note, nullptr);
        ASSERT_NE(button, nullptr);
        ASSERT_NE(writing, nullptr);
    }

    void showAt(QSize size)
    {
        view->resize(size);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QApplication::processEvents();
    }

    TFormNVX page;
    std::unique_ptr<NvxPageView> view;
    QTextBrowser* note = nullptr;
    QToolButton* button = nullptr;
    QLabel* writing = nullptr;
};

TEST_F(NvxPageViewTest, ShowsThePagesStateWhenMadeAndWhenItChanges)
{
    struct Case {
        const char* what;
        std::optional<bool> beforeView;  // state set before the view exists (the first read ran earlier)
        std::optional<bool> afterView;
        QString text;
        const char* picture;
    };
    const Case cases[] = {
        {"untouched page", std::nullopt, std::nullopt, QString(), ":/nvx/pet_off.svg"},
        {"turned on", std::nullopt, true, kOnText, ":/nvx/pet_on.svg"},
        {"turned off", std::nullopt, false, kOffText, ":/nvx/pet_off.svg"},
        {"read on before the view", true, std::nullopt, kOnText, ":/nvx/pet_on.svg"},
        {"on, then off", true, false, kOffText, ":/nvx/pet_off.svg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page.SetPetImmune(false);
        page.Form().update("RzRichEdit1", [](Control& ctl) { ctl.value = 0; });
        view.reset();
        if (c.beforeView)
            page.SetPetImmune(*c.beforeView);
        makeView();
        if (c.afterView)
            page.SetPetImmune(*c.afterView);
        EXPECT_EQ(note->toPlainText(), c.text);  // exact: no space left by the file's line end
        EXPECT_EQ(Shown(*button), Rendered(c.picture));
    }
}

TEST_F(NvxPageViewTest, NoteKeepsItsBoldRuns)
{
    makeView();
    page.SetPetImmune(true);
    const QTextDocument& on = *note->document();
    EXPECT_TRUE(AllBold(on, "с защитой от животных", true));
    EXPECT_TRUE(AllBold(on, "отлючить", true));
    EXPECT_TRUE(AllBold(on, "защиты от животных до 10 кг", true));
    EXPECT_TRUE(AllBold(on, "К программе подключен датчик", false));
    EXPECT_TRUE(AllBold(on, "нажмите кнопку", false));

    page.SetPetImmune(false);
    EXPECT_TRUE(AllBold(*note->document(), "без защиты от животных", true));
    EXPECT_TRUE(AllBold(*note->document(), "Если вы хотите", false));
}

TEST_F(NvxPageViewTest, ClickRunsTheButtonsAction)
{
    int runs = 0;
    page.Form().setAction("CatButton", [&] { ++runs; });
    makeView();
    showAt(QSize(800, 600));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);

    page.Form().setEnabled("CatButton", false);
    EXPECT_FALSE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
}

// The shell's press: toggles at once, disables the button and says so until the write ends.
TEST_F(NvxPageViewTest, ButtonIsDisabledAndSaysSoWhileTheWriteRuns)
{
    int writes = 0;
    page.Form().setAction("CatButton", [&] { page.Press(true, [&] { ++writes; }); });
    makeView();
    showAt(QSize(800, 600));
    const QString pressToTurnOn = button->toolTip();
    EXPECT_TRUE(pressToTurnOn.contains("включить"));
    EXPECT_TRUE(writing->isHidden());

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(Shown(*button), Rendered(":/nvx/pet_on.svg"));
    EXPECT_EQ(note->toPlainText(), kOnText);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(writing->isVisible());
    EXPECT_EQ(button->toolTip(), NvxPageView::writingText());

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(writes, 1);

    page.WriteAbandoned();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(writing->isHidden());
    EXPECT_TRUE(button->toolTip().contains("отключить"));
}

// What the installer sees: the note never scrolls, the picture stays whole and centred and changes
// with the state on screen (its badge turns from red to green); a pane too small for both scrolls;
// coming back to a size gives the same layout as before.
TEST_F(NvxPageViewTest, LayoutAtPaneSizes)
{
    const QByteArray grabDir = qgetenv("NVX_GRAB_DIR");  // set it to look at the page
    struct Case {
        const char* what;
        QSize size;
        bool pageScrolls;
    };
    const Case cases[] = {
        {"pane of a 1280x800 window", QSize(960, 690), false},
        {"small pane", QSize(380, 330), true},
        {"large pane again", QSize(960, 690), false},
    };
    makeView();
    const auto* scroll = view->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    std::map<std::tuple<int, int, bool>, std::pair<QRect, QRect>> first;  // note and button by size and state
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool on : {false, true}) {
            SCOPED_TRACE(on ? "on" : "off");
            page.SetPetImmune(on);
            showAt(c.size);
            EXPECT_FALSE(note->verticalScrollBar()->isVisible());
            EXPECT_GE(note->height(), note->document()->size().height());
            EXPECT_LE(note->height(), note->document()->size().height() + 40);  // a line of slack at most
            EXPECT_EQ(button->size(), QSize(270, 270));
            EXPECT_NEAR(button->geometry().center().x(), button->parentWidget()->rect().center().x(), 1);
            EXPECT_GE(button->y(), note->geometry().bottom());
            EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), c.pageScrolls);
            const auto [seen, isNew] = first.try_emplace({c.size.width(), c.size.height(), on},
                                                          note->geometry(), button->geometry());
            if (!isNew) {
                EXPECT_EQ(note->geometry(), seen->second.first);
                EXPECT_EQ(button->geometry(), seen->second.second);
            }

            // The note has no box of its own: it lies on the page's face like the rest of the page.
            const QImage page = view->grab().toImage();
            EXPECT_EQ(page.pixelColor(note->mapTo(view.get(), QPoint(note->width() - 3, note->height() / 2))),
                      page.pixelColor(button->mapTo(view.get(), QPoint(-10, 135))));

            const QImage shot = button->grab().toImage();
            const QColor badge = shot.pixelColor(7 + 212, 7 + 75);
            EXPECT_EQ(badge.green() > badge.red(), on) << badge.name().toStdString();
            if (!grabDir.isEmpty())
                view->grab().save(QString("%1/nvx_page_%2_%3x%4.png")
                                      .arg(QString::fromLocal8Bit(grabDir), on ? "on" : "off")
                                      .arg(c.size.width())
                                      .arg(c.size.height()));
        }
    }
}

TEST_F(NvxPageViewTest, PageOutlivesItsView)
{
    makeView();
    view.reset();
    page.SetPetImmune(true);
    page.Form().setEnabled("CatButton", false);
    EXPECT_TRUE(page.PetImmune());
}

}  // namespace
}  // namespace nvx
