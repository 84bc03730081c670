// The help file as built: its objects read back with chmlib, and the
// parsers of what it holds.
#include "platform/help/chm_file.h"
#include "platform/help/help_request.h"
#include "platform/help/sitemap.h"
#include "tests/support/test_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

namespace pw::platform {
namespace {

std::string HelpFilePath() { return (test::BuildDir() / "share/pagewick/Snaplet.chm").string(); }

std::string Text(const std::vector<std::byte>& bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
  std::vector<std::byte> bytes;
  for (int v : values) bytes.push_back(static_cast<std::byte>(v));
  return bytes;
}

TEST(HelpFile, HoldsTheStartPageTheDialogTopicsAndAPagePerPanelCommand) {
  auto file = ChmFile::Open(HelpFilePath());
  ASSERT_TRUE(file) << file.error();
  std::vector<std::string> objects = file->Objects();
  std::set<std::string> listed(objects.begin(), objects.end());
  for (const char* topic : {"/index.htm", "/dim.htm", "/options.htm", "/hatch.htm", "/keys.htm",
                            // the seven buttons of the command panel
                            "/email.htm", "/save.htm", "/optionsmenu.htm", "/helpmenu.htm", "/exit.htm",
                            "/pdf.htm", "/html.htm", "/images/banner.png", "/pagewick.css"}) {
    EXPECT_TRUE(listed.count(topic)) << topic;
    EXPECT_TRUE(file->Contains(topic)) << topic;
  }
  EXPECT_FALSE(file->Contains("/no-such-topic.htm"));
  EXPECT_FALSE(file->Read("/no-such-topic.htm"));

  ChmSystemFacts facts = file->System();
  EXPECT_EQ(facts.default_topic, "index.htm");
  EXPECT_EQ(facts.title, "Pagewick Help");
  EXPECT_TRUE(file->Contains(facts.contents_file)) << facts.contents_file;
}

TEST(HelpFile, TopicsReadBackWholeAndSayWhatTheyAreAbout) {
  auto file = ChmFile::Open(HelpFilePath());
  ASSERT_TRUE(file);
  auto dim = file->Read("dim.htm");  // a path without its '/' is found too
  ASSERT_TRUE(dim);
  const std::string text = Text(*dim);
  EXPECT_NE(text.find("<title>Image Resolution and Dimension</title>"), std::string::npos);
  EXPECT_NE(text.find("Ctrl+D"), std::string::npos);
  EXPECT_NE(text.find("</html>"), std::string::npos);  // not cut short

  auto banner = file->Read("/images/banner.png");
  ASSERT_TRUE(banner);
  ASSERT_GT(banner->size(), 8u);
  EXPECT_EQ(Text(*banner).substr(1, 3), "PNG");
}

// Every link and picture of every topic names something inside the file,
// so no page of the help leads nowhere.
TEST(HelpFile, EveryLocalLinkAndPictureResolvesInsideTheFile) {
  auto file = ChmFile::Open(HelpFilePath());
  ASSERT_TRUE(file);
  const std::regex reference(R"re((?:href|src)="([^"#]*)(#[^"]*)?")re", std::regex::icase);
  int checked = 0;
  for (const std::string& object : file->Objects()) {
    if (!object.ends_with(".htm")) continue;
    const std::string text = Text(*file->Read(object));
    for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
      const std::string target = (*it)[1];
      if (target.empty() || target.find(':') != std::string::npos) continue;
      const std::string folder = object.substr(0, object.rfind('/') + 1);
      EXPECT_TRUE(file->Contains(folder + target)) << object << " -> " << target;
      ++checked;
    }
  }
  EXPECT_GT(checked, 40);
}

TEST(HelpFile, AFileThatIsNoHelpFileDoesNotOpen) {
  EXPECT_FALSE(ChmFile::Open((test::HomeDir() / "missing.chm").string()));
  EXPECT_FALSE(ChmFile::Open((test::SourceDir() / "README.md").string()));
}

TEST(ChmSystem, ReadsItsRecordsAndStopsAtOneThatRunsPastTheEnd) {
  // version 3; contents "a.hhc"; an unknown record; default "b.htm"; title
  // "T"; then a record that claims 9 bytes of which 2 are there.
  std::vector<std::byte> bytes = Bytes({3, 0, 0, 0,  0, 0, 6, 0, 'a', '.', 'h', 'h', 'c', 0,
                                        9, 0, 1, 0, 'x',  2, 0, 6, 0, 'b', '.', 'h', 't', 'm', 0,
                                        3, 0, 2, 0, 'T', 0,  2, 0, 9, 0, 'z', 'z'});
  ChmSystemFacts facts = ParseChmSystem(bytes);
  EXPECT_EQ(facts.contents_file, "a.hhc");
  EXPECT_EQ(facts.default_topic, "b.htm");
  EXPECT_EQ(facts.title, "T");

  EXPECT_EQ(ParseChmSystem({}).default_topic, "");
  EXPECT_EQ(ParseChmSystem(Bytes({3, 0, 0, 0, 2, 0, 200, 0, 'q'})).default_topic, "");
}

TEST(Sitemap, EntriesKeepTheirNestingAndHeadingsHaveNoTopic) {
  const std::string html = R"(<HTML><BODY><UL>
    <LI><OBJECT type="text/sitemap"><param name="Name" value="Start"><param name="Local" value="index.htm"></OBJECT>
    <LI><object type="text/sitemap"><PARAM NAME="Name" VALUE="Panel &amp; keys"></object>
    <UL><LI><OBJECT type="text/sitemap"><param name="Local" value='save.htm'><param name=Name value=Save></OBJECT>
      <UL><LI><OBJECT><param name="Name" value="Deep"><param name="Local" value="deep.htm"></OBJECT></UL>
    </UL>
    <LI><OBJECT type="text/sitemap"><param name="Local" value="nameless.htm"></OBJECT>
    <LI><OBJECT type="text/sitemap"><param name="Name" value="Last"><param name="Local" value="last.htm"></OBJECT>
    </UL></BODY></HTML>)";
  std::vector<SitemapEntry> entries = ParseSitemap(html);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].name, "Start");
  EXPECT_EQ(entries[0].local, "index.htm");
  EXPECT_EQ(entries[0].depth, 0);
  EXPECT_EQ(entries[1].name, "Panel & keys");
  EXPECT_EQ(entries[1].local, "");
  EXPECT_EQ(entries[2].name, "Save");
  EXPECT_EQ(entries[2].local, "save.htm");
  EXPECT_EQ(entries[2].depth, 1);
  EXPECT_EQ(entries[3].depth, 2);
  EXPECT_EQ(entries[4].name, "Last");
  EXPECT_EQ(entries[4].depth, 0);

  // Cut-off markup ends the list without harm.
  EXPECT_EQ(ParseSitemap("<UL><LI><OBJECT><param name=\"Name\" value=\"A\"></OBJECT><OBJECT><param name=").size(), 1u);
}

TEST(HelpRequest, SplitsTheFileFromItsTopic) {
  HelpRequest topic = SplitHelpRequest("/opt/pw/Snaplet.chm::/dim.htm");
  EXPECT_EQ(topic.file, "/opt/pw/Snaplet.chm");
  EXPECT_EQ(topic.topic, "/dim.htm");

  HelpRequest start = SplitHelpRequest("/opt/pw/Snaplet.chm");
  EXPECT_EQ(start.file, "/opt/pw/Snaplet.chm");
  EXPECT_EQ(start.topic, "");

  HelpRequest windowed = SplitHelpRequest("/a>b/Snaplet.chm::hatch.htm>main");
  EXPECT_EQ(windowed.file, "/a>b/Snaplet.chm");
  EXPECT_EQ(windowed.topic, "/hatch.htm");
}

}  // namespace
}  // namespace pw::platform
