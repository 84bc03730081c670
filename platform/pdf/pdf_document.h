#pragma once
// A PDF document of page images, with the calls the PDF writer makes: begin
// the document, load an image, add a page, fit the image so that the page
// takes its size, end the document.
//
// The document is written as it is made: an image goes into the file when
// it is loaded and a page when it ends, so memory holds one page's image at
// a time whatever the page count. The file is a temporary one beside the
// target, renamed over the target only when EndDocument succeeds; a document
// destroyed before that (an aborted run) removes it, so a half-made PDF
// never stands under the target's name.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace pw::platform {

class PdfDocument {
 public:
  // `PDF_new`: nothing when the library cannot make a document.
  static std::unique_ptr<PdfDocument> New();
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  // False (the -1 of the writer) when the target's file cannot be created;
  // LastError and LastSystemError then say why.
  bool BeginDocument(const std::string& target);

  // "SearchPath": the folder relative image names are looked up in. A
  // folder text ends with '/'.
  void SetSearchPath(std::string folder);

  // Loads an image with its type taken from its content: JPEG goes into
  // the document as it is; PNG, BMP, TIFF and GIF are decoded and held
  // losslessly. Returns a handle, or -1 when it cannot be read or is not an
  // image. The bytes form reads no file.
  int LoadImage(std::string_view name);
  int LoadImageBytes(std::span<const std::byte> encoded);

  // A page of the given size in points.
  bool BeginPage(double width, double height);
  // Places the image with its lower-left corner at (x, y) at its natural
  // size: pixels x 72 / density points, density 72 when the image has
  // none. With `adjust_page` the page takes exactly that size.
  bool FitImage(int image, double x, double y, bool adjust_page);
  void CloseImage(int image);
  void EndPage();

  // Writes the rest of the document and puts it in place. False when it
  // cannot be written; the target is then left as it was before the
  // document began.
  bool EndDocument();

  // The natural size of a loaded image, in points.
  struct Size {
    double width = 0;
    double height = 0;
  };
  Size ImageSize(int image) const;

  // Begun, not yet ended, and its file still takes what is added: false
  // once a write failed (a full disk), after which nothing can be added.
  bool IsOpen() const;

  // Why the last call failed, for messages; empty when none did.
  std::string LastError() const;
  // The errno of the last file operation that failed, 0 when none did.
  int LastSystemError() const;

 private:
  struct State;
  explicit PdfDocument(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace pw::platform
