#include "app/NvxPageView.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtMath>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "app/ModelBinder.h"
#include "app/OnInterfaceThread.h"
#include "pages/f_NVX.h"

// The pictures and notes are compiled into the static app library, whose resource initialiser
// the linker would drop unless something refers to it; the macro has to be used outside a namespace.
static void InitNvxResources()
{
    Q_INIT_RESOURCE(nvx);
}

namespace nvx {

namespace {

constexpr int kButtonSide = 270;
constexpr int kPictureSide = 256;

// Drawn here rather than loaded as an SVG icon so the program does not depend on the SVG
// icon-engine plug-in being installed; a second, doubled pixmap keeps it sharp on HiDPI screens.
QIcon RenderPicture(const QString& path)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        qWarning("NvxPageView: picture %s cannot be drawn", qPrintable(path));
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(QSize(kPictureSide, kPictureSide) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, kPictureSide, kPictureSide));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString LoadNote(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("NvxPageView: note %s cannot be read", qPrintable(path));
        return {};
    }
    // A trailing line break would become a space at the end of the last paragraph.
    return QString::fromUtf8(file.readAll()).trimmed();
}

}  // namespace

QString NvxPageView::writingText()
{
    return QStringLiteral("Запись в датчик…");
}

NvxPageView::NvxPageView(TFormNVX& page, QWidget* parent) : QWidget(parent), page_(page)
{
    InitNvxResources();
    iconOff_ = RenderPicture(QStringLiteral(":/nvx/pet_off.svg"));
    iconOn_ = RenderPicture(QStringLiteral(":/nvx/pet_on.svg"));
    noteOff_ = LoadNote(QStringLiteral(":/nvx/note_off.html"));
    noteOn_ = LoadNote(QStringLiteral(":/nvx/note_on.html"));

    group_ = new QGroupBox(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(group_);

    // A pane smaller than the note and the picture scrolls instead of squeezing the picture.
    auto* scroll = new QScrollArea(group_);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    auto* groupLayout = new QVBoxLayout(group_);
    groupLayout->setContentsMargins(4, 4, 4, 4);
    groupLayout->addWidget(scroll);

    auto* content = new QWidget(scroll);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(12, 8, 12, 12);
    layout->setSpacing(0);

    note_ = new QTextBrowser(content);
    note_->setObjectName(QStringLiteral("RzRichEdit1"));
    note_->setFrameShape(QFrame::NoFrame);
    note_->setReadOnly(true);
    note_->setOpenLinks(false);
    note_->setFocusPolicy(Qt::NoFocus);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    note_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    note_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The note lies on the page's own face, whatever the style paints a group box with.
    note_->viewport()->setAutoFillBackground(false);
    note_->installEventFilter(this);
    layout->addWidget(note_);

    layout->addStretch(1);

    button_ = new QToolButton(content);
    button_->setFixedSize(kButtonSide, kButtonSide);
    button_->setIconSize(QSize(kPictureSide, kPictureSide));
    button_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button_->setAutoRaise(true);  // flat until hovered, sunken while pressed
    button_->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(button_, 0, Qt::AlignHCenter);

    writing_ = new QLabel(writingText(), content);
    writing_->setAlignment(Qt::AlignHCenter);
    writing_->setForegroundRole(QPalette::PlaceholderText);
    QSizePolicy keepPlace = writing_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);  // the picture must not jump when the text comes and goes
    writing_->setSizePolicy(keepPlace);
    writing_->setContentsMargins(0, 6, 0, 0);
    writing_->hide();
    layout->addWidget(writing_);

    layout->addStretch(2);
    scroll->setWidget(content);
    content->setAutoFillBackground(false);  // setWidget turned it on: keep the group box's face

    // Title, enabled and visible of the frame and the button, and the press, come from the model.
    binder_ = new ModelBinder(page_.Form(), this);
    binder_->bind("MainGroupBox", group_);
    binder_->bind("CatButton", button_);

    subscription_ = page_.Form().subscribe(

        OnInterfaceThread(this, [this](const std::string& name) { refresh(name); }));
    refresh("RzRichEdit1");
    refresh("CatButton");
}

NvxPageView::~NvxPageView()
{
    page_.Form().unsubscribe(subscription_);
}

bool NvxPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == note_ && event->type() == QEvent::Resize)
        fitNoteHeight();
    return QWidget::eventFilter(watched, event);
}

void NvxPageView::refresh(const std::string& name)
{
    if (name == "RzRichEdit1") {
        showNote(page_.Form().get(name).value);
    } else if (name == "CatButton") {
        const Control c = page_.Form().get(name);
        showButton(c.value, c.enabled);
    }
}

void NvxPageView::showNote(int noteId)
{
    if (noteId == noteShown_)
        return;
    noteShown_ = noteId;
    if (noteId == TFormNVX::kNoteOn)
        note_->setHtml(noteOn_);
    else if (noteId == TFormNVX::kNoteOff)
        note_->setHtml(noteOff_);
    else
        note_->clear();
}

void NvxPageView::showButton(int picture, bool enabled)
{
    const bool on = picture == 1;
    button_->setIcon(on ? iconOn_ : iconOff_);
    const QString press = on ? QStringLiteral("Нажмите, чтобы отключить защиту от животных")
                             : QStringLiteral("Нажмите, чтобы включить защиту от животных");
    button_->setAccessibleName(press);
    // Disabled only while the choice is being written: say so instead of inviting a press.
    button_->setToolTip(enabled ? press : writingText());
    writing_->setVisible(!enabled);
    if (enabled)
        button_->setCursor(Qt::PointingHandCursor);
    else
        button_->unsetCursor();
}

// The note is as tall as the longer of the two texts at the present width: no scroll bar, and the
// picture below stays where it is when the text changes or is still empty. Measured apart, as the
// note's own document is laid out for the new width only after this resize has been handled.
void NvxPageView::fitNoteHeight()
{
    const int width = note_->width();
    if (width <= 0)
        return;
    QTextDocument measure;
    measure.setDefaultFont(note_->document()->defaultFont());
    measure.setDocumentMargin(note_->document()->documentMargin());
    measure.setTextWidth(width);
    qreal height = 0;
    for (const QString& html : {noteOff_, noteOn_}) {
        measure.setHtml(html);
        height = std::max(height, measure.size().height());
    }
    const QMargins m = note_->contentsMargins();
    const int wanted = qCeil(height) + m.top() + m.bottom();
    if (note_->height() != wanted)
        note_->setFixedHeight(wanted);
}

}  // namespace nvx
