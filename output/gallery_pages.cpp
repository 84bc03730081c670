#include "output/gallery_pages.h"

#include "output/email_delivery.h"

namespace pw::output {
namespace {

std::string Str(std::string_view text) { return std::string(text); }

// The base name as HTML text: a name with & < > ' or " would otherwise end a
// title or a quoted attribute early and break the frames.
std::string Text(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\'': out += "&#39;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// The base name as the start of a relative address in an attribute: % # and
// ? would begin an escape, a fragment or a query. Spaces stay as they are.
std::string Address(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '%') out += "%25";
    else if (c == '#') out += "%23";
    else if (c == '?') out += "%3F";
    else out += c;
  }
  return Text(out);
}

std::string Meta() { return std::string("    <META NAME=Author CONTENT='Tavrin Pagewick 2 - ") + kWebHost + "'>"; }

std::string Head(std::string_view base_name) {
  return "<HTML>" + (" <HEAD> <TITLE>" + Text(base_name) + "</TITLE>") + Meta();
}

}  // namespace

std::string GalleryFileText(std::string_view base_name, std::string_view extension) {
  const std::string b = Address(base_name);
  return Head(base_name) + "  </HEAD>" +
         "  <FRAMESET ROWS='24,*' FRAMEBORDER=yes BORDER=1 FRAMESPACING=0>" +
         "    <FRAME SRC='" + b + "_files/header.html' NAME=head SCROLLING=NO>" +
         "    <FRAMESET COLS='167,*' FRAMEBORDER=yes BORDER=1 FRAMESPACING=0>" +
         "    <FRAME SRC='" + b + "_files/bottoms.html' NAME=bottoms>" +
         "    <FRAME SRC='" + b + "_files/0001" + Str(extension) + "'" + " NAME=win_right>" +
         "    </FRAMESET>" + "  </FRAMESET>" + "</HTML>";
}

std::string HeaderPageText(std::string_view base_name) {
  return Head(base_name) + " <STYLE TYPE='text/css'>" +
         " body {background:#E0E0F8;margin:0px 0px;padding:3px 50px;vertical-align:bottom;}" +
         " p.hd {font-family:Arial,Tahoma,Helvetica;font-size:10pt;font-style:italic;font-weight:bold;"
         "color:#0000A0;text-align:right;}" +
         " </STYLE>" + "  </HEAD>" + " <p class=hd>" + Text(base_name) + "</p>" + "  </body>" + "</HTML>";
}

std::string BottomsHeadText(std::string_view base_name) {
  return Head(base_name) + " <STYLE TYPE='text/css'>" +
         " body {background:#E0E0F8;margin:10px 2px;padding:0;vertical-align:top;line-height:80%;}" +
         " a:link,a:visited,a:hover {font-family:Arial,Tahoma,Helvetica;font-size:8pt;font-style:normal;"
         "font-weight:bold;text-decoration:none;}" +
         " a:link {color:#0000FF;} a:visited {color:#6666BB;} a:hover {color:#F00000;}" +
         " img {margin:10px 0 0 0;}" + " </STYLE>" + "  </HEAD>" + "  <BODY><CENTER>";
}

std::string BottomsEntryText(std::string_view page_number, std::string_view extension) {
  const std::string n = Str(page_number);
  const std::string x = Str(extension);
  return " <A HREF='" + n + x + "' TARGET=win_right><IMG SRC='" + n + "_" + x + "' VSPACE=2 BORDER=1><BR>" + n +
         "</A><BR>";
}

std::string BottomsTailText() { return "  </CENTER></BODY></HTML>"; }

}  // namespace pw::output
