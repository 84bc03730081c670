#include "tools/make-samples/sample_pages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include <QImage>

#include "tools/make-samples/page_builder.h"

namespace pw::samples {

using gdi::PointL;
using gdi::RectL;

namespace {

constexpr int kMargin = 600;
constexpr int kLeft = kMargin;
constexpr int kRight = kPageWidth - kMargin;
constexpr int kTextWidth = kRight - kLeft;
constexpr int kPageCount = 6;

constexpr Colorref kInk = Rgb(0x20, 0x20, 0x20);
constexpr Colorref kNavy = Rgb(0x1F, 0x3A, 0x68);
constexpr Colorref kAccent = Rgb(0x2E, 0x74, 0xB5);
constexpr Colorref kPale = Rgb(0xDD, 0xEB, 0xF7);
constexpr Colorref kRule = Rgb(0x8E, 0xA9, 0xC8);
constexpr Colorref kNote = Rgb(0xFF, 0xF4, 0xCC);
constexpr Colorref kNoteEdge = Rgb(0xD6, 0xA9, 0x1E);
constexpr Colorref kGreen = Rgb(0x38, 0x8E, 0x3C);
constexpr Colorref kWhite = Rgb(0xFF, 0xFF, 0xFF);
constexpr Pen kLogoEdge{Rgb(0x1F, 0x3A, 0x68), 6};

FontSpec Body() { return {u"Times New Roman", 12, false, false, kInk}; }
FontSpec BodyBold() { return {u"Times New Roman", 12, true, false, kInk}; }
FontSpec BodyItalic() { return {u"Times New Roman", 12, false, true, kInk}; }
FontSpec Heading() { return {u"Calibri", 16, true, false, kAccent}; }
FontSpec Cell() { return {u"Arial", 10, false, false, kInk}; }
FontSpec CellBold() { return {u"Arial", 10, true, false, kInk}; }
FontSpec HeaderCell() { return {u"Arial", 10, true, false, kWhite}; }
FontSpec KeyCell() { return {u"Courier New", 10, true, false, kNavy}; }

// The running head, the rule beneath it and the page number at the foot.
void Frame(PageBuilder& page, int number) {
  const FontSpec head{u"Calibri", 9, false, true, kAccent};
  page.Text(kLeft, 420, head, u"Pagewick \u2013 Quick Start Reference");
  const std::u16string right = u"Word pages as images";
  page.Text(kRight - page.Measure(head, right), 420, head, right);
  page.Line({kLeft, 470}, {kRight, 470}, Pen{kRule, 4});

  const FontSpec foot{u"Arial", 8, false, false, Rgb(0x60, 0x60, 0x60)};
  const std::u16string text = u"Page " + std::u16string(1, static_cast<char16_t>(u'0' + number)) + u" of " +
                              std::u16string(1, static_cast<char16_t>(u'0' + kPageCount));
  page.Text((kPageWidth - page.Measure(foot, text)) / 2, kPageHeight - 380, foot, text);
}

int Title(PageBuilder& page, int y, std::u16string_view text) {
  const FontSpec font = Heading();
  y += page.LineHeight(font) / 3;
  page.Text(kLeft, y + page.Ascent(font), font, text);
  return y + page.LineHeight(font) + 40;
}

int Para(PageBuilder& page, int y, std::initializer_list<Run> runs) {
  return page.Paragraph(kLeft, y, kTextWidth, std::span<const Run>(runs.begin(), runs.size())) + 90;
}

// A ruled table: a shaded header row, then the body rows; every cell is
// word-wrapped within its column. Columns are given in page units.
struct Column {
  int width;
  FontSpec font;
};

int Table(PageBuilder& page, int y, std::span<const Column> columns, std::span<const std::u16string_view> header,
          std::span<const std::vector<std::u16string_view>> rows) {
  constexpr int kPad = 45;
  const Pen rule{kRule, 3};
  int total = 0;
  for (const Column& c : columns) total += c.width;

  auto row_height = [&](auto cells, bool is_header) {
    int height = 0;
    for (std::size_t i = 0; i < columns.size() && i < cells.size(); ++i) {
      const FontSpec font = is_header ? HeaderCell() : columns[i].font;
      const Run run{font, std::u16string(cells[i])};
      const int text = page.ParagraphHeight(columns[i].width - 2 * kPad, std::span<const Run>(&run, 1));
      height = std::max(height, std::max(text, page.LineHeight(font)) + 2 * kPad);
    }
    return height;
  };
  auto draw_row = [&](auto cells, bool is_header, int top, int height) {
    if (is_header) {
      const Colorref fill = kNavy;
      page.Rectangle({kLeft, top, kLeft + total, top + height}, nullptr, &fill);
    }
    int x = kLeft;
    for (std::size_t i = 0; i < columns.size() && i < cells.size(); ++i) {
      const FontSpec font = is_header ? HeaderCell() : columns[i].font;
      page.Paragraph(x + kPad, top + kPad, columns[i].width - 2 * kPad, font, cells[i]);
      x += columns[i].width;
    }
  };

  const int top = y;
  int h = row_height(header, true);
  draw_row(header, true, y, h);
  y += h;
  std::vector<int> lines{y};
  bool shade = false;
  for (const auto& row : rows) {
    h = row_height(std::span<const std::u16string_view>(row), false);
    if (shade) {
      const Colorref fill = kPale;
      page.Rectangle({kLeft, y, kLeft + total, y + h}, nullptr, &fill);
    }
    draw_row(std::span<const std::u16string_view>(row), false, y, h);
    y += h;
    lines.push_back(y);
    shade = !shade;
  }
  for (int line : lines) page.Line({kLeft, line}, {kLeft + total, line}, rule);
  int x = kLeft;
  page.Line({x, top}, {x, y}, rule);
  for (const Column& c : columns) {
    x += c.width;
    page.Line({x, top}, {x, y}, rule);
  }
  page.Rectangle({kLeft, top, kLeft + total + 1, y + 1}, &rule, nullptr);
  return y + 120;
}

// The program's mark: a sheet with a folded corner on a blue-to-green
// tile, drawn pixel by pixel. The tile fills the whole bitmap, so it sits
// cleanly on any page background.
QImage Logo() {
  constexpr int kSize = 160;
  QImage image(kSize, kSize, QImage::Format_RGB32);
  const double c = (kSize - 1) / 2.0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double d = std::hypot(x - c, y - c) / (c * std::sqrt(2.0));
      const double t = static_cast<double>(x + y) / (2.0 * kSize);
      const double shade = 1.0 - 0.3 * d * d;
      int r = static_cast<int>((0x1F + t * (0x2E - 0x1F)) * shade);
      int g = static_cast<int>((0x3A + t * (0xB0 - 0x3A)) * shade);
      int b = static_cast<int>((0x98 - t * (0x98 - 0x70)) * shade);
      const bool in_sheet = x >= 48 && x <= 112 && y >= 34 && y <= 126 && !(x > 92 && y < 34 + (x - 92));
      const bool fold = x > 92 && x <= 112 && y >= 34 && y <= 54 && y >= 34 + (x - 92);
      const bool text_line = in_sheet && x >= 58 && x <= 102 && (y - 64) % 12 >= 0 && (y - 64) % 12 < 4 && y < 120;
      if (fold) {
        r = g = b = 200;
      } else if (text_line) {
        r = 0x2E;
        g = 0x74;
        b = 0xB5;
      } else if (in_sheet) {
        r = g = b = 250;
      }
      image.setPixel(x, y, qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)));
    }
  }
  return image;
}

void Arrow(PageBuilder& page, int x0, int x1, int y) {
  const Colorref fill = kAccent;
  const std::array<PointL, 7> points{PointL{x0, y - 28}, PointL{x1 - 90, y - 28}, PointL{x1 - 90, y - 80},
                                     PointL{x1, y},      PointL{x1 - 90, y + 80}, PointL{x1 - 90, y + 28},
                                     PointL{x0, y + 28}};
  page.Polygon(points, nullptr, &fill);
}

// A shaded box with a heading, as tall as its text needs; returns the y below it.
int Note(PageBuilder& page, int top, std::u16string_view title, std::u16string_view text) {
  const FontSpec head{u"Calibri", 12, true, false, Rgb(0x7A, 0x55, 0x00)};
  const Run body{FontSpec{u"Calibri", 11, false, true, kInk}, std::u16string(text)};
  constexpr int kInset = 150;
  const int text_top = top + 110 + page.LineHeight(head);
  const int height = text_top - top + page.ParagraphHeight(kTextWidth - 2 * kInset, std::span<const Run>(&body, 1)) + 90;
  const Pen edge{kNoteEdge, 6};
  const Colorref fill = kNote;
  page.RoundRect({kLeft, top, kRight, top + height}, 160, &edge, &fill);
  page.Text(kLeft + kInset, top + 90 + page.Ascent(head), head, title);
  page.Paragraph(kLeft + kInset, text_top, kTextWidth - 2 * kInset, std::span<const Run>(&body, 1));
  return top + height;
}

std::vector<std::byte> Welcome() {
  PageBuilder page;
  Frame(page, 1);
  const FontSpec title{u"Calibri", 36, true, false, kNavy};
  page.Text(kLeft, 980, title, u"Pagewick");
  page.Text(kLeft, 1240, FontSpec{u"Cambria", 20, false, true, kAccent}, u"Quick Start Reference");
  page.Bitmap({kRight - 620, 640, kRight, 1260}, Logo());
  page.Rectangle({kRight - 620, 640, kRight + 1, 1261}, &kLogoEdge, nullptr);
  page.Line({kLeft, 1380}, {kRight, 1380}, Pen{kNavy, 10});

  int y = Title(page, 1450, u"What Pagewick does");
  y = Para(page, y,
           {{Body(), u"Pagewick turns the pages you print from Microsoft Word into page images. Print your document "
                     u"to the "},
            {BodyBold(), u"Pagewick Capture"},
            {Body(), u" printer, and Pagewick opens with every page of it in memory: the current page large in the "
                     u"middle, small pictures of all pages in the strip on the right. From there you save the pages "
                     u"as a numbered series of JPG, GIF, PNG, BMP or TIF files, as one multipage PDF, as an HTML "
                     u"gallery with thumbnails, or send them by e-mail."}});
  y = Para(page, y,
           {{Body(), u"You can also copy a selection in Word to the clipboard. Pagewick then takes the one page it "
                     u"finds there; the clipboard is emptied once it has been read. "},
            {BodyItalic(), u"Nothing you print is changed: "},
            {Body(), u"Pagewick only reads the pages and removes its own temporary files when you close it."}});

  y = Title(page, y + 40, u"From Word to images in four steps");
  const std::array<std::u16string_view, 4> steps{u"Print in Word", u"Pages arrive", u"Choose options",
                                                 u"Save or send"};
  const int box_w = 760;
  const int gap = (kTextWidth - 4 * box_w) / 3;
  const int box_top = y + 80;
  const int box_bottom = box_top + 420;
  const FontSpec number{u"Arial", 20, true, false, kWhite};
  const FontSpec label{u"Arial", 11, true, false, kNavy};
  for (int i = 0; i < 4; ++i) {
    const int x = kLeft + i * (box_w + gap);
    const Pen edge{kAccent, 8};
    const Colorref fill = kPale;
    page.RoundRect({x, box_top, x + box_w, box_bottom}, 120, &edge, &fill);
    const Colorref disc = kAccent;
    page.Ellipse({x + box_w / 2 - 110, box_top + 50, x + box_w / 2 + 110, box_top + 270}, nullptr, &disc);
    const std::u16string digit(1, static_cast<char16_t>(u'1' + i));
    page.Text(x + box_w / 2 - page.Measure(number, digit) / 2, box_top + 160 + page.Ascent(number) / 2 - 20, number,
              digit);
    page.Text(x + (box_w - page.Measure(label, steps[i])) / 2, box_bottom - 60, label, steps[i]);
    if (i < 3) Arrow(page, x + box_w + 30, x + box_w + gap - 30, (box_top + box_bottom) / 2);
  }
  // The way back: a curved line from the last step to the first.
  const int curve_y = box_bottom + 60;
  const std::array<PointL, 4> curve{PointL{kRight - box_w / 2, curve_y}, PointL{kRight - box_w / 2, curve_y + 360},
                                    PointL{kLeft + box_w / 2, curve_y + 360}, PointL{kLeft + box_w / 2, curve_y}};
  page.Bezier(curve, Pen{kGreen, 10});
  const Colorref green = kGreen;
  const std::array<PointL, 3> head{PointL{kLeft + box_w / 2, curve_y - 10}, PointL{kLeft + box_w / 2 - 60, curve_y + 110},
                                   PointL{kLeft + box_w / 2 + 60, curve_y + 110}};
  page.Polygon(head, nullptr, &green);
  const FontSpec back{u"Calibri", 11, false, true, kGreen};
  const std::u16string_view back_text = u"Exit and Back to Word, then print the next document";
  page.Text((kPageWidth - page.Measure(back, back_text)) / 2, curve_y + 440, back, back_text);

  y = curve_y + 600;
  y = Para(page, y,
           {{Body(), u"Every option you change is stored at once and the current page is drawn again, so what you "
                     u"see in the page view is what will be saved. Four presets set a whole group of options with "
                     u"one key; the following pages list them with all other keys."}});
  Note(page, y + 40, u"Opening this guide",
       u"This guide is shown when Pagewick is started with the word \u201Cquick\u201D, as in "
       u"\u201Cpagewick quick\u201D. While it is open the pages use a demonstration background; changing an option asks whether "
       u"to leave the guide first.");
  return page.Finish();
}

std::vector<std::byte> MainWindow() {
  PageBuilder page;
  Frame(page, 2);
  int y = Title(page, 560, u"The main window");
  y = Para(page, y,
           {{Body(), u"The window has three parts. On the left, the "},
            {BodyBold(), u"command panel"},
            {Body(), u" holds seven buttons. In the middle, the "},
            {BodyBold(), u"page view"},
            {Body(), u" shows the current page as it will be saved. On the right, the "},
            {BodyBold(), u"thumbnail strip"},
            {Body(), u" shows every page with its number; click one to make it the current page. The status line "
                     u"at the bottom shows the size of the image file the current settings produce."}});

  // A sketch of the window.
  const int top = y + 40;
  const int bottom = top + 2100;
  const Pen frame{kNavy, 10};
  const Colorref window = Rgb(0xF4, 0xF6, 0xFA);
  page.Rectangle({kLeft, top, kRight, bottom}, &frame, &window);
  const Colorref title_bar = kNavy;
  page.Rectangle({kLeft, top, kRight, top + 160}, nullptr, &title_bar);
  page.Text(kLeft + 60, top + 112, FontSpec{u"Arial", 10, true, false, kWhite}, u"Tavrin Pagewick");
  const Colorref panel = Rgb(0xE6, 0xE0, 0xF4);
  page.Rectangle({kLeft + 10, top + 160, kLeft + 330, bottom - 10}, nullptr, &panel);
  for (int i = 0; i < 7; ++i) {
    const Colorref button = i == 1 ? kAccent : Rgb(0xC9, 0xBF, 0xE8);
    const int by = top + 260 + i * 230;
    page.RoundRect({kLeft + 60, by, kLeft + 280, by + 170}, 40, nullptr, &button);
  }
  const Pen paper_edge{Rgb(0x90, 0x90, 0x90), 4};
  const Colorref paper = kWhite;
  page.Rectangle({kLeft + 520, top + 280, kRight - 1100, bottom - 300}, &paper_edge, &paper);
  for (int line = 0; line < 9; ++line) {
    const int ly = top + 460 + line * 130;
    page.Line({kLeft + 640, ly}, {kRight - (line % 3 == 2 ? 1700 : 1220), ly}, Pen{Rgb(0xA0, 0xA0, 0xA0), 14});
  }
  const Colorref strip = Rgb(0xF8, 0xE0, 0xE0);
  page.Rectangle({kRight - 760, top + 160, kRight - 10, bottom - 10}, nullptr, &strip);
  for (int i = 0; i < 3; ++i) {
    const int ty = top + 260 + i * 560;
    const Pen edge{i == 0 ? Rgb(0xFF, 0, 0) : Rgb(0x90, 0x90, 0x90), i == 0 ? 10 : 4};
    page.Rectangle({kRight - 560, ty, kRight - 210, ty + 440}, &edge, &paper);
  }
  const Colorref status = Rgb(0xE0, 0xE0, 0xE0);
  page.Rectangle({kLeft + 330, bottom - 150, kRight - 760, bottom - 10}, nullptr, &status);
  page.Text(kLeft + 400, bottom - 50, FontSpec{u"Arial", 8, false, false, kInk}, u"Image size: 212 KB");

  const FontSpec callout{u"Calibri", 11, true, false, Rgb(0xC0, 0x30, 0x30)};
  page.Text(kLeft + 380, top + 240, callout, u"command panel");
  page.Text(kLeft + 1500, top + 240, callout, u"page view");
  page.Text(kRight - 1080, top + 240, callout, u"strip");
  y = bottom + 140;

  const std::array<Column, 3> columns{Column{1250, CellBold()}, Column{800, KeyCell()}, Column{kTextWidth - 2050, Cell()}};
  const std::array<std::u16string_view, 3> header{u"Button", u"Key", u"What it does"};
  const std::vector<std::vector<std::u16string_view>> rows{
      {u"Send E-Mail", u"Ctrl+M", u"Saves the pages and hands them to your mail program."},
      {u"Save to Disk", u"Ctrl+S", u"Saves every page as a numbered image file."},
      {u"Options...", u"", u"Presets, resolution, image format, antialiasing, background."},
      {u"Help...", u"F1", u"Opens the help file and this guide."},
      {u"Exit and Back to Word", u"Alt+F4", u"Closes Pagewick and brings Word back to the front."},
      {u"Save to Multipaged PDF", u"Ctrl+P", u"Writes all pages into one PDF file."},
      {u"Save files with HTML", u"Ctrl+W", u"Writes a web page gallery with thumbnails."},
  };
  Table(page, y, columns, header, rows);
  return page.Finish();
}

std::vector<std::byte> Keys() {
  PageBuilder page;
  Frame(page, 3);
  int y = Title(page, 560, u"Keys at a glance");
  y = Para(page, y, {{Body(), u"Every command of the panel has a key. The option keys work at any time, also while "
                              u"pages are still arriving; the current page is drawn again after each change."}});
  const std::array<Column, 2> columns{Column{1300, KeyCell()}, Column{kTextWidth - 1300, Cell()}};
  const std::array<std::u16string_view, 2> header{u"Key", u"Command"};
  const std::vector<std::vector<std::u16string_view>> rows{
      {u"F1", u"Help"},
      {u"F3", u"Preset Text/Graphics"},
      {u"F4", u"Preset WordArt/Photo"},
      {u"F5", u"Preset Professional"},
      {u"F6", u"Preset Demo default"},
      {u"Ctrl+D", u"Image Resolution and Dimension"},
      {u"Ctrl+C", u"Image Format and Quality"},
      {u"Ctrl+H", u"Background and Hatch settings"},
      {u"Ctrl+N", u"Antialiasing off"},
      {u"Ctrl+2 Ctrl+3 Ctrl+5 Ctrl+7", u"Antialiasing 2x, 3x, 5x, 7x"},
      {u"Ctrl+0 Ctrl+Z Ctrl+X", u"Antialiasing 10x, 15x, 20x"},
      {u"Ctrl+S", u"Save to Disk"},
      {u"Ctrl+P", u"Save to Multipaged PDF"},
      {u"Ctrl+W", u"Save files with HTML"},
      {u"Ctrl+M", u"Send E-Mail"},
      {u"Esc", u"Stop a save or send that is running"},
      {u"Page Down / Page Up", u"Next page / previous page"},
      {u"Down / Up", u"Scroll the thumbnail strip"},
      {u"Shift+arrows", u"Scroll the page view"},
  };
  y = Table(page, y, columns, header, rows);
  Note(page, y, u"Mouse", u"The wheel scrolls the strip when the pointer is over it and the page view "
                               u"elsewhere. Over a thumbnail the pointer becomes a hand: click to show that page.");
  return page.Finish();
}

std::vector<std::byte> Presets() {
  PageBuilder page;
  Frame(page, 4);
  int y = Title(page, 560, u"Presets");
  y = Para(page, y, {{Body(), u"A preset sets resolution, antialiasing, background and output format in one step. "
                              u"All presets use the custom resolution at 100 % scale, 7x antialiasing and no "
                              u"sharpening; they differ in the rest:"}});
  const std::array<Column, 5> columns{Column{500, KeyCell()}, Column{1050, CellBold()}, Column{700, Cell()},
                                      Column{700, Cell()}, Column{kTextWidth - 2950, Cell()}};
  const std::array<std::u16string_view, 5> header{u"Key", u"Preset", u"Resolution", u"Format", u"Background"};
  const std::vector<std::vector<std::u16string_view>> rows{
      {u"F3", u"Text/Graphics", u"120 dpi", u"GIF, 256 colours", u"none"},
      {u"F4", u"WordArt/Photo", u"200 dpi", u"JPG, quality 90", u"none"},
      {u"F5", u"Professional", u"300 dpi", u"TIF, 64 colours, LZW", u"none"},
      {u"F6", u"Demo default", u"80 dpi", u"GIF, 256 colours", u"light line hatch"},
  };
  y = Table(page, y, columns, header, rows);

  y = Title(page, y, u"Antialiasing");
  y = Para(page, y,
           {{Body(), u"Antialiasing draws each page larger and averages it down, which smooths the edges of text "
                     u"and lines. A factor of "},
            {BodyItalic(), u"n"},
            {Body(), u" takes n \u00D7 n samples for every pixel of the image, so the work grows quickly:"}});

  // Samples per pixel for each factor, as bars.
  const std::array<int, 7> factors{2, 3, 5, 7, 10, 15, 20};
  const int chart_top = y + 60;
  const int chart_bottom = chart_top + 1300;
  const int bar_w = 300;
  const int step = (kTextWidth - 400) / static_cast<int>(factors.size());
  page.Line({kLeft + 200, chart_bottom}, {kRight, chart_bottom}, Pen{kInk, 6});
  page.Line({kLeft + 200, chart_top}, {kLeft + 200, chart_bottom}, Pen{kInk, 6});
  const FontSpec axis{u"Arial", 9, false, false, kInk};
  for (std::size_t i = 0; i < factors.size(); ++i) {
    const int f = factors[i];
    const int height = (chart_bottom - chart_top - 150) * f * f / 400;
    const int x = kLeft + 300 + static_cast<int>(i) * step;
    const Colorref fill = f == 7 ? kGreen : kAccent;
    const Pen edge{kNavy, 4};
    page.Rectangle({x, chart_bottom - height, x + bar_w, chart_bottom}, &edge, &fill);
    const std::u16string label = (f >= 10 ? std::u16string(1, static_cast<char16_t>(u'0' + f / 10)) : u"") +
                                 std::u16string(1, static_cast<char16_t>(u'0' + f % 10)) + u"x";
    page.Text(x + (bar_w - page.Measure(axis, label)) / 2, chart_bottom + 180, axis, label);
    const std::u16string samples = std::u16string(QString::number(f * f).toStdU16String());
    page.Text(x + (bar_w - page.Measure(axis, samples)) / 2, chart_bottom - height - 50, axis, samples);
  }
  y = chart_bottom + 320;
  y = Para(page, y,
           {{Body(), u"The green bar is the factor every preset uses. Higher factors pay off for small text at low "
                     u"resolution; at 300 dpi and above, 3x is usually enough. "},
            {BodyBold(), u"Sharpen"},
            {Body(), u" in the options menu crisps the result further, and "},
            {BodyBold(), u"Date and Time stamp"},
            {Body(), u" adds the current date and time to each page."}});
  return page.Finish();
}

std::vector<std::byte> Formats() {
  PageBuilder page;
  Frame(page, 5);
  int y = Title(page, 560, u"Image formats");
  y = Para(page, y, {{Body(), u"Choose the format and its options with Image Format and Quality (Ctrl+C). Each "
                              u"format keeps its own settings, so switching back and forth loses nothing."}});
  const std::array<Column, 3> columns{Column{600, CellBold()}, Column{1600, Cell()}, Column{kTextWidth - 2200, Cell()}};
  const std::array<std::u16string_view, 3> header{u"Format", u"Options", u"Good for"};
  const std::vector<std::vector<std::u16string_view>> rows{
      {u"JPG", u"true colour or grey, quality, progressive", u"photos, WordArt and shaded pages"},
      {u"GIF", u"indexed or grey, number of colours, dither, interlace", u"text and line art; animated GIF for all pages in one file"},
      {u"PNG", u"true colour, indexed or grey, colours, dither, interlace", u"sharp text without loss"},
      {u"BMP", u"true colour", u"programs that want plain bitmaps"},
      {u"TIF", u"true colour, indexed or grey, colours, LZW compression", u"archives and print shops; multipage TIF"},
      {u"PDF", u"all pages in one document, images inside in a format you choose", u"sharing a whole document"},
  };
  y = Table(page, y, columns, header, rows);

  y = Title(page, y, u"Saving and sending");
  y = Para(page, y,
           {{BodyBold(), u"Save to Disk"},
            {Body(), u" asks for a folder and a base name and writes one file per page: the base name followed by "
                     u"the page\u2019s four-digit number, for example "},
            {FontSpec{u"Courier New", 11, false, false, kNavy}, u"Report0001.jpg"},
            {Body(), u". "},
            {BodyBold(), u"Save to Multipaged PDF"},
            {Body(), u" writes one PDF and opens it. "},
            {BodyBold(), u"Save files with HTML"},
            {Body(), u" writes an .html page with a folder of images and thumbnails beside it. "},
            {BodyBold(), u"Send E-Mail"},
            {Body(), u" saves the pages and attaches them to a new message of your mail program."}});
  y = Para(page, y, {{Body(), u"The current page alone can be saved, sent or made the desktop wallpaper from the "
                              u"page view\u2019s menu. A long run shows its progress and stops when you press Esc "
                              u"and confirm; the files written so far stay."}});
  // A small picture of a numbered series.
  const int top = y + 40;
  const Pen edge{kNavy, 5};
  const Colorref sheet = kWhite;
  const Colorref shadow = Rgb(0xB0, 0xB8, 0xC8);
  const FontSpec name{u"Courier New", 9, false, false, kNavy};
  for (int i = 0; i < 4; ++i) {
    const int x = kLeft + 200 + i * 900;
    page.Rectangle({x + 40, top + 40, x + 640, top + 840}, nullptr, &shadow);
    page.Rectangle({x, top, x + 600, top + 800}, &edge, &sheet);
    for (int line = 0; line < 5; ++line)
      page.Line({x + 80, top + 150 + line * 120}, {x + 520 - (line == 4 ? 200 : 0), top + 150 + line * 120},
                Pen{kRule, 12});
    const std::u16string label = u"Report000" + std::u16string(1, static_cast<char16_t>(u'1' + i)) + u".jpg";
    page.Text(x + (600 - page.Measure(name, label)) / 2, top + 1000, name, label);
  }
  return page.Finish();
}

std::vector<std::byte> Resolution() {
  PageBuilder page;
  Frame(page, 6);
  int y = Title(page, 560, u"Resolution, size and background");
  y = Para(page, y,
           {{Body(), u"Image Resolution and Dimension (Ctrl+D) decides how many pixels a page gets. Choose the "},
            {BodyItalic(), u"display"},
            {Body(), u" resolution to see pages as large as on screen, the "},
            {BodyItalic(), u"printer"},
            {Body(), u" resolution of the capture printer for print quality, or a "},
            {BodyItalic(), u"custom"},
            {Body(), u" value in dots per inch. The scale enlarges or reduces the page from 1 % to 300 %; the "
                     u"dialog shows the resulting image size in pixels and millimetres before you accept it."}});

  const std::array<Column, 3> columns{Column{1100, CellBold()}, Column{1100, Cell()}, Column{kTextWidth - 2200, Cell()}};
  const std::array<std::u16string_view, 3> header{u"Resolution", u"A4 page in pixels", u"Typical use"};
  const std::vector<std::vector<std::u16string_view>> rows{
      {u"80 dpi", u"662 \u00D7 936", u"previews, e-mail"},
      {u"120 dpi", u"993 \u00D7 1404", u"web pages, text"},
      {u"200 dpi", u"1654 \u00D7 2339", u"presentations"},
      {u"300 dpi", u"2481 \u00D7 3508", u"printing, archives"},
  };
  y = Table(page, y, columns, header, rows);

  y = Title(page, y, u"Background and hatch");
  y = Para(page, y, {{Body(), u"Background and Hatch settings (Ctrl+H) give the page a colour or a pattern "
                              u"behind the text: plain colour, cross hatch, or evenly spaced lines of your chosen "
                              u"width, spacing and angle. A live preview shows the pattern as you change it."}});
  // Three swatches: plain, lines, crossed lines.
  const int top = y + 40;
  const int size = 700;
  const Colorref paper = Rgb(0xFF, 0xEB, 0xD4);
  const Pen edge{kNavy, 6};
  const Pen hatch{Rgb(0xC8, 0x8C, 0x50), 5};
  const FontSpec caption{u"Calibri", 10, false, true, kInk};
  const std::array<std::u16string_view, 3> names{u"colour", u"lines", u"crossed lines"};
  for (int i = 0; i < 3; ++i) {
    const int x = kLeft + 300 + i * 1200;
    page.Rectangle({x, top, x + size, top + size}, &edge, &paper);
    if (i > 0)
      for (int k = 70; k < size; k += 70) page.Line({x + k, top + 6}, {x + k, top + size - 6}, hatch);
    if (i > 1)
      for (int k = 70; k < size; k += 70) page.Line({x + 6, top + k}, {x + size - 6, top + k}, hatch);
    page.Text(x + (size - page.Measure(caption, names[static_cast<std::size_t>(i)])) / 2, top + size + 170, caption,
              names[static_cast<std::size_t>(i)]);
  }
  y = top + size + 320;
  Note(page, y, u"Leaving this guide",
       u"Press any option key while this guide is open and Pagewick asks \u201CDemo-mode settings will be "
       u"discarded. Proceed?\u201D Answer Yes to work with your own settings; the thumbnails are then drawn "
       u"again with them. When you are done, Exit and Back to Word returns you to your document.");
  return page.Finish();
}

}  // namespace

std::vector<SamplePage> QuickStartPages() {
  std::vector<SamplePage> pages;
  pages.push_back({"00001.emf", Welcome()});
  pages.push_back({"00002.emf", MainWindow()});
  pages.push_back({"00003.emf", Keys()});
  pages.push_back({"00004.emf", Presets()});
  pages.push_back({"00005.emf", Formats()});
  pages.push_back({"00006.emf", Resolution()});
  return pages;
}

}  // namespace pw::samples
