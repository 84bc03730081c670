/* A Windows program for the desktop clipboard test, run under Wine: it
   draws a page as an enhanced metafile, puts it on the clipboard as
   CF_ENHMETAFILE, writes the file named by its first argument once the
   clipboard holds it, and stays (owning the clipboard) for the seconds of
   its second argument. Exit code 0 once the page was on the clipboard. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static HENHMETAFILE DrawPage(void) {
  RECT frame = {0, 0, 21000, 29700}; /* A4 in 0.01 mm */
  HDC dc = CreateEnhMetaFileA(NULL, NULL, &frame, "clipboard test\0page\0");
  if (!dc) return NULL;
  /* Logical units are the reference device's pixels. */
  const double x_per_mm = (double)GetDeviceCaps(dc, HORZRES) / GetDeviceCaps(dc, HORZSIZE);
  const double y_per_mm = (double)GetDeviceCaps(dc, VERTRES) / GetDeviceCaps(dc, VERTSIZE);
  HBRUSH red = CreateSolidBrush(RGB(230, 20, 20));
  HBRUSH blue = CreateSolidBrush(RGB(20, 40, 220));
  RECT top = {(LONG)(20 * x_per_mm), (LONG)(20 * y_per_mm), (LONG)(190 * x_per_mm), (LONG)(130 * y_per_mm)};
  RECT bottom = {(LONG)(20 * x_per_mm), (LONG)(160 * y_per_mm), (LONG)(190 * x_per_mm), (LONG)(270 * y_per_mm)};
  FillRect(dc, &top, red);
  FillRect(dc, &bottom, blue);
  DeleteObject(red);
  DeleteObject(blue);
  return CloseEnhMetaFile(dc);
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: emf_to_clipboard READY_FILE SECONDS\n");
    return 2;
  }
  HENHMETAFILE page = DrawPage();
  /* A window owns the clipboard; without an owner SetClipboardData fails. */
  HWND owner = CreateWindowA("STATIC", "clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
  if (!page || !owner || !OpenClipboard(owner)) return 1;
  EmptyClipboard();
  const BOOL placed = SetClipboardData(CF_ENHMETAFILE, page) != NULL;
  CloseClipboard();
  if (!placed) return 1;

  FILE* ready = fopen(argv[1], "w");
  if (!ready) return 1;
  fprintf(ready, "%u\n", GetEnhMetaFileBits(page, 0, NULL));
  fclose(ready);

  SetTimer(NULL, 1, (UINT)atoi(argv[2]) * 1000u, NULL);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    DispatchMessageA(&message);
  }
  return 0;
}
