#pragma once
// A PDF document of page images on libharu, with the calls the PDF writer
// makes: begin the document, load an image by name from the search folder,
// add a page, fit the image so that the page takes its size, end the
// document.
//
// The document is written to a temporary file beside the target and renamed
// over the target only when EndDocument succeeds. A document destroyed
// before that (an aborted run) removes its temporary file, so a half-made
// PDF never stands under the target's name.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

class PdfDocument {
 public:
  // `PDF_new`: nothing when the library cannot make a document.
  static std::unique_ptr<PdfDocument> New();
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  // False (the -1 of the writer) when the target's file cannot be created.
  bool BeginDocument(const std::string& target);

  // "SearchPath": the folder relative image names are looked up in. A
  // folder text ends with '/'.
  void SetSearchPath(std::string folder);

  // Loads an image file with automatic type detection from its content
  // (JPEG and PNG are taken as they are; BMP, TIFF and GIF are decoded and
  // held losslessly). Returns a handle, or -1 when the file cannot be read
  // or is not an image.
  int LoadImage(std::string_view name);

  // A page of the given size in points.
  bool BeginPage(double width, double height);
  // Places the image with its lower-left corner at (x, y) at its natural
  // size: pixels x 72 / density points, density 72 when the file has
  // none. With `adjust_page` the page takes exactly that size.
  bool FitImage(int image, double x, double y, bool adjust_page);
  void CloseImage(int image);
  void EndPage();

  // Writes and closes the document. False when it cannot be written; the
  // target is then left as it was before the document began.
  bool EndDocument();

  // The natural size of a loaded image, in points.
  struct Size {
    double width = 0;
    double height = 0;
  };
  Size ImageSize(int image) const;

  // The library's last error, for messages; empty when there was none.
  std::string LastError() const;

 private:
  struct State;
  explicit PdfDocument(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace pw::platform
