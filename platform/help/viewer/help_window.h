#pragma once
// The help window: a help file's contents beside the topic on show. Topics
// are read from the help file as the browser asks for them, so links
// between topics, their pictures and style sheets resolve inside the file.
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QWidget>

#include <optional>

#include "platform/help/chm_file.h"

namespace pw::platform {

// Topic addresses are "chm:/dim.htm"; relative links resolve against them.
inline constexpr const char* kChmScheme = "chm";

class ChmBrowser final : public QTextBrowser {
 public:
  explicit ChmBrowser(QWidget* parent = nullptr);
  void setHelpFile(const ChmFile* file) { file_ = file; }
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  const ChmFile* file_ = nullptr;
};

class HelpWindow final : public QWidget {
 public:
  HelpWindow();

  // Opens the help file unless it is already open; false when it cannot
  // be read (the window keeps what it showed).
  bool openFile(const std::string& path);

  // Shows a topic of the open file ("/dim.htm"); an empty topic is the
  // file's start page.
  void showTopic(const std::string& topic);

  // What a click on a link does: topics of the file are shown here, other
  // addresses go to the desktop's own application.
  void followLink(const QUrl& link);

  const ChmBrowser& browser() const { return browser_; }
  const QTreeWidget& contents() const { return contents_; }
  // The topic shown, e.g. "/dim.htm".
  QString currentTopic() const;
  // The start page of the open file.
  std::string startTopic() const;

 private:
  void fillContents();

  std::optional<ChmFile> file_;
  QToolBar tools_;
  QSplitter splitter_;
  QTreeWidget contents_;
  ChmBrowser browser_;
};

// A topic address for the browser.
QUrl TopicUrl(const std::string& topic);

}  // namespace pw::platform
