#include <gtest/gtest.h>

#include <Magick++.h>

#include <filesystem>
#include <fstream>

#include "output/html_gallery_writer.h"
#include "output_fixtures.h"
#include "settings/settings_record.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

const std::string kMeta = "    <META NAME=Author CONTENT='Tavrin Pagewick 2 - www.pagewick.example'>";

std::string ExpectedGallery(const std::string& b, const std::string& x) {
  return "<HTML> <HEAD> <TITLE>" + b + "</TITLE>" + kMeta +
         "  </HEAD>  <FRAMESET ROWS='24,*' FRAMEBORDER=yes BORDER=1 FRAMESPACING=0>    <FRAME SRC='" + b +
         "_files/header.html' NAME=head SCROLLING=NO>    <FRAMESET COLS='167,*' FRAMEBORDER=yes BORDER=1 "
         "FRAMESPACING=0>    <FRAME SRC='" + b + "_files/bottoms.html' NAME=bottoms>    <FRAME SRC='" + b +
         "_files/0001" + x + "' NAME=win_right>    </FRAMESET>  </FRAMESET></HTML>";
}

std::string ExpectedHeader(const std::string& b) {
  return "<HTML> <HEAD> <TITLE>" + b + "</TITLE>" + kMeta +
         " <STYLE TYPE='text/css'> body {background:#E0E0F8;margin:0px 0px;padding:3px 50px;vertical-align:bottom;}"
         " p.hd {font-family:Arial,Tahoma,Helvetica;font-size:10pt;font-style:italic;font-weight:bold;color:#0000A0;"
         "text-align:right;} </STYLE>  </HEAD> <p class=hd>" + b + "</p>  </body></HTML>";
}

std::string ExpectedBottomsHead(const std::string& b) {
  return "<HTML> <HEAD> <TITLE>" + b + "</TITLE>" + kMeta +
         " <STYLE TYPE='text/css'> body {background:#E0E0F8;margin:10px 2px;padding:0;vertical-align:top;"
         "line-height:80%;} a:link,a:visited,a:hover {font-family:Arial,Tahoma,Helvetica;font-size:8pt;"
         "font-style:normal;font-weight:bold;text-decoration:none;} a:link {color:#0000FF;} a:visited "
         "{color:#6666BB;} a:hover {color:#F00000;} img {margin:10px 0 0 0;} </STYLE>  </HEAD>  <BODY><CENTER>";
}

std::string Entry(const std::string& n, const std::string& x) {
  return " <A HREF='" + n + x + "' TARGET=win_right><IMG SRC='" + n + "_" + x + "' VSPACE=2 BORDER=1><BR>" + n +
         "</A><BR>";
}

class GalleryWriterTest : public WriterTest {};

TEST_F(GalleryWriterTest, ThreeFilesByteForByteImagesAndFittedThumbnails) {
  LoadPages(2, 200, 100);
  const std::string dir = OutDir();
  const std::string b = "My Report & <Co>";
  const std::string escaped = "My Report &amp; &lt;Co&gt;";  // as the HTML has it
  target = {dir, b};
  settings::Update([](settings::Settings& s) { s.StartFile_Opt = true; });

  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, 0);

  const std::string folder = dir + "/" + b + "_files/";
  EXPECT_EQ(ReadText(dir + b + ".html"), ExpectedGallery(escaped, ".jpg"));
  EXPECT_EQ(ReadText(folder + "header.html"), ExpectedHeader(escaped));
  EXPECT_EQ(ReadText(folder + "bottoms.html"),
            ExpectedBottomsHead(escaped) + Entry("0001", ".jpg") + Entry("0002", ".jpg") + "  </CENTER></BODY></HTML>");
  EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"0001.jpg", "0001_.jpg", "0002.jpg", "0002_.jpg",
                                                          "bottoms.html", "header.html"}));
  Magick::Image thumbnail(folder + "0001_.jpg");
  EXPECT_EQ(thumbnail.columns(), 130u);  // a 2:1 page at 40 dpi, fitted
  EXPECT_EQ(thumbnail.rows(), 65u);
  Magick::Image page(folder + "0002.jpg");
  EXPECT_GT(page.columns(), 200u);  // 200 mm at 30 dpi
  EXPECT_EQ(opened, std::vector<std::string>{dir + "/" + b + ".html"});
  EXPECT_EQ(hook->renders.load(), 4);
}

TEST_F(GalleryWriterTest, SecondSaveReplacesTheFolderAndBmpNames) {
  LoadPages(3);
  const std::string dir = OutDir();
  target = {dir, "G"};
  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, 0);
  EXPECT_EQ(FileNames(dir + "G_files").size(), 8u);

  pages::Pages().SetCount(1);
  ASSERT_TRUE(output::StoreFormatFlags({.tif = true}));
  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, 0);
  EXPECT_EQ(FileNames(dir + "G_files"),
            (std::vector<std::string>{"0001.bmp", "0001_.bmp", "bottoms.html", "header.html"}));
  EXPECT_NE(ReadText(dir + "G.html").find("_files/0001.bmp' NAME=win_right>"), std::string::npos);
  EXPECT_TRUE(messages->Texts().empty());
}

TEST_F(GalleryWriterTest, AFolderHoldingAnythingButGalleryFilesIsLeftWhole) {
  LoadPages(2);
  const std::string dir = OutDir();
  fs::create_directories(dir + "S_files/keep");
  { std::ofstream(dir + "S_files/0001.jpg") << "x"; }
  target = {dir, "S"};
  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, 0);
  ASSERT_EQ(messages->Texts(), std::vector<std::string>{"Error 0009836"});
  EXPECT_EQ(messages->Requests()[0].caption, "Tavrin Pagewick message");
  EXPECT_FALSE(fs::exists(dir + "S.html"));
  // Not even the gallery's own names go when the folder cannot be replaced.
  EXPECT_EQ(ReadText(dir + "S_files/0001.jpg"), "x");
  EXPECT_EQ(hook->renders.load(), 0);

  // A user's file among an old gallery's files keeps the folder, and the
  // old gallery with it.
  fs::create_directories(dir + "U_files");
  for (const char* name : {"0001.jpg", "0001_.jpg", "header.html", "notes.txt", "0001.jpeg", "00a1.jpg"})
    std::ofstream(dir + "U_files/" + name) << "mine";
  target = {dir, "U"};
  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, 0);
  EXPECT_EQ(FileNames(dir + "U_files").size(), 6u);
  EXPECT_EQ(ReadText(dir + "U_files/0001.jpg"), "mine");
  EXPECT_FALSE(fs::exists(dir + "U.html"));
}

TEST_F(GalleryWriterTest, TooLongFolderAndAbortAfterTwoPages) {
  LoadPages(3);
  target = {OutDir(), std::string(300, 'q')};
  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, -1);
  EXPECT_EQ(messages->Texts().back(), "The name you entered is too long.\nEnter a shorter name.");

  const std::string dir = OutDir("abort");
  target = {dir, "A"};
  hook->on_render = [](int n) {
    if (n == 4) output::Run().abort_requested = true;  // the second page's thumbnail
  };
  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, 0);
  EXPECT_EQ(messages->Texts().back(), "Abort File Generation Process?");
  EXPECT_EQ(ReadText(dir + "A_files/bottoms.html"),
            ExpectedBottomsHead("A") + Entry("0001", ".jpg") + Entry("0002", ".jpg"));
  EXPECT_EQ(ReadText(dir + "A.html"), ExpectedGallery("A", ".jpg"));
  EXPECT_EQ(FileNames(dir + "A_files").size(), 6u);
  EXPECT_EQ(view->cursor_off.load(), 2);
}

TEST_F(GalleryWriterTest, AFileThatCannotBeWrittenEndsTheRunAfterTheEarlierPages) {
  LoadPages(3);
  const std::string dir = OutDir();
  target = {dir, "F"};
  const std::string folder = dir + "/F_files/";
  hook->on_render = [folder](int n) {
    if (n == 1) fs::create_directory(folder + "0002_.jpg");  // stands where page 2's thumbnail goes
  };
  EXPECT_EQ(output::WriteHtmlGallery(Job()).exit_code, -1);
  ASSERT_EQ(messages->Texts().size(), 1u);
  EXPECT_EQ(messages->Texts()[0], "The file could not be written:\n" + folder + "0002_.jpg\nIs a directory");
  // Page 2's image went before its thumbnail; its line in bottoms.html did
  // not, and nothing of page 3 was written (the folder is not listed).
  EXPECT_EQ(FileNames(folder),
            (std::vector<std::string>{"0001.jpg", "0001_.jpg", "0002.jpg", "bottoms.html", "header.html"}));
  EXPECT_EQ(ReadText(folder + "bottoms.html"), ExpectedBottomsHead("F") + Entry("0001", ".jpg"));
}

}  // namespace
}  // namespace pw::test
