// The channels and GPRS pages in current.ini: what the program saves at exit comes back at the
// next start, under the sections and keys other programs and older files use.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "device/PageDirectory.h"
#include "pages/f_Ways.h"
#include "shell/Session.h"

using namespace nvx;

namespace {

class TempFile {
public:
    TempFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "nvx-ways-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
    }
    ~TempFile() { std::filesystem::remove_all(folder_); }
    std::filesystem::path path() const { return folder_ / "current.ini"; }

private:
    std::filesystem::path folder_;
};

FormModel& Ways(Session& s)
{
    return s.Page(page_id::kChannels)->Form();
}
FormModel& Gprs(Session& s)
{
    return s.Page(page_id::kGprs)->Form();
}

} // namespace

TEST(WaysGprsState, PagesComeBackFromCurrentIni)
{
    for (bool gprsOnline : {false, true}) {
        SCOPED_TRACE(gprsOnline ? "GPRS online" : "GPRS offline");
        TempFile file;
        {
            Session before;
            FormModel& ways = Ways(before);
            ways.setText("etP1", "+79001112233");
            ways.setText("etP2", "112W5");
            ways.setIndex("cb1", 2);
            ways.setIndex("cb2", gprsOnline ? 1 : 4);
            ways.checkRadio("rb1");
            ways.checkRadio("rdo1");
            auto& page = static_cast<TformWays&>(*before.Page(page_id::kChannels));
            page.SetGprsOnline(gprsOnline);
            FormModel& gprs = Gprs(before);
            gprs.setText("etSIM1ADDR", "точка.доступа");
            gprs.setText("etServerPort2", "4000");
            gprs.setIndex("cbTime", 3);
            gprs.setChecked("cbP", true);

            IniFile ini(file.path());
            before.SaveConnectionSettings(ini);
            ASSERT_TRUE(ini.Save());
            EXPECT_EQ(ini.ReadString("formWays", "etP2", ""), "112W5");
            EXPECT_EQ(ini.ReadInteger("formWays", "cb2", -1), gprsOnline ? 1 : 4);
            EXPECT_TRUE(ini.ReadBool("formWays", "rb1", false));
            EXPECT_EQ(ini.ReadBool("formWays", "CheckBox1", !gprsOnline), gprsOnline);
            EXPECT_EQ(ini.ReadString("formGPRS", "etSIM1ADDR", ""), "точка.доступа");
            EXPECT_EQ(ini.ReadInteger("formGPRS", "cbTime", -1), 3);
        }
        Session after;
        IniFile ini(file.path());
        ASSERT_TRUE(ini.Load());
        after.LoadConnectionSettings(ini);
        FormModel& ways = Ways(after);
        EXPECT_EQ(ways.text("etP1"), "+79001112233");
        EXPECT_EQ(ways.text("etP2"), "112W5");
        EXPECT_EQ(ways.index("cb1"), 2);
        EXPECT_EQ(ways.index("cb2"), gprsOnline ? 1 : 4);
        EXPECT_EQ(ways.get("cb2").items.size(), gprsOnline ? 3u : 5u);
        EXPECT_TRUE(ways.checked("rb1"));
        EXPECT_FALSE(ways.checked("rb2"));
        EXPECT_TRUE(ways.checked("rb4"));
        EXPECT_TRUE(ways.checked("rdo1"));
        EXPECT_EQ(ways.checked("CheckBox1"), gprsOnline);
        FormModel& gprs = Gprs(after);
        EXPECT_EQ(gprs.checked("cb11"), gprsOnline);
        EXPECT_EQ(gprs.text("etSIM1ADDR"), "точка.доступа");
        EXPECT_EQ(gprs.text("etServerPort2"), "4000");
        EXPECT_EQ(gprs.text("etSIM1IP"), "");
        EXPECT_EQ(gprs.index("cbTime"), 3);
        EXPECT_TRUE(gprs.checked("cbP"));
    }
}

TEST(WaysGprsState, AnOfflineTypeStoredWithGprsOnlineIsNotUsed)
{
    // A hand-edited or foreign file may pair them; the switch's rule decides.
    TempFile file;
    {
        IniFile ini(file.path());
        ini.WriteInteger("formWays", "cb1", 3);
        ini.WriteBool("formWays", "CheckBox1", true);
        ini.WriteString("formWays", "etP1", "555");
        ASSERT_TRUE(ini.Save());
    }
    Session session;
    IniFile ini(file.path());
    ASSERT_TRUE(ini.Load());
    session.LoadConnectionSettings(ini);
    EXPECT_EQ(Ways(session).index("cb1"), 0);
    EXPECT_EQ(Ways(session).get("cb1").items.size(), 3u);
    EXPECT_TRUE(Gprs(session).checked("cb11"));
}
