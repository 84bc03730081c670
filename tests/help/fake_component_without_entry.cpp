// A library in the help component's place that lacks the help entry.
extern "C" __attribute__((visibility("default"))) int HtmlHelpW() { return 1; }
