#pragma once
// The texts of the HTML gallery's three files, each piece after the other
// with no line breaks. B is the base name, escaped as HTML text in titles and
// the heading and as an address in frame sources; X the image extension with
// its dot.
#include <string>
#include <string_view>

namespace pw::output {

std::string GalleryFileText(std::string_view base_name, std::string_view extension);
std::string HeaderPageText(std::string_view base_name);
std::string BottomsHeadText(std::string_view base_name);
std::string BottomsEntryText(std::string_view page_number, std::string_view extension);
std::string BottomsTailText();

}  // namespace pw::output
