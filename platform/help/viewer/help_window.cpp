#include "platform/help/viewer/help_window.h"

#include "platform/help/sitemap.h"

#include <QAction>
#include <QDesktopServices>
#include <QHeaderView>
#include <QStyle>
#include <QVBoxLayout>

namespace pw::platform {
namespace {

constexpr int kTopicRole = Qt::UserRole + 1;

QByteArray ToByteArray(const std::vector<std::byte>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QString MissingTopicPage(const QString& topic) {
  return QStringLiteral("<html><body><h2>The page cannot be displayed</h2>"
                        "<p>The help file has no topic <b>%1</b>.</p></body></html>")
      .arg(topic.toHtmlEscaped());
}

}  // namespace

QUrl TopicUrl(const std::string& topic) {
  QUrl url;
  url.setScheme(kChmScheme);
  const QString text = QString::fromStdString(topic);
  const qsizetype hash = text.indexOf('#');
  url.setPath(hash < 0 ? text : text.left(hash));
  if (hash >= 0) url.setFragment(text.mid(hash + 1));
  return url;
}

ChmBrowser::ChmBrowser(QWidget* parent) : QTextBrowser(parent) {
  // Links are followed by the window, which tells topics from the web.
  setOpenLinks(false);
  setOpenExternalLinks(false);
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
  if (name.scheme() != QLatin1String(kChmScheme) || !file_) return QTextBrowser::loadResource(type, name);
  std::optional<std::vector<std::byte>> bytes = file_->Read(name.path().toStdString());
  if (!bytes) return type == QTextDocument::HtmlResource ? QVariant(MissingTopicPage(name.path())) : QVariant();
  // Bytes: the browser finds the page's character set itself, and images
  // are decoded from them.
  return ToByteArray(*bytes);
}

HelpWindow::HelpWindow() {
  setWindowTitle(QStringLiteral("Help"));
  resize(860, 600);

  QAction* back = tools_.addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
  QAction* forward = tools_.addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
  QAction* home = tools_.addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Home"));
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QAction::triggered, &browser_, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, &browser_, &QTextBrowser::forward);
  connect(home, &QAction::triggered, this, [this] { showTopic({}); });
  connect(&browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(&browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(&browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { followLink(link); });

  contents_.setHeaderHidden(true);
  connect(&contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    const QString topic = item->data(0, kTopicRole).toString();
    if (!topic.isEmpty()) showTopic(topic.toStdString());
  });

  splitter_.addWidget(&contents_);
  splitter_.addWidget(&browser_);
  splitter_.setStretchFactor(1, 1);
  splitter_.setSizes({220, 640});

  auto* layout = new QVBoxLayout(this);  // owned by this window
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(&tools_);
  layout->addWidget(&splitter_);
}

bool HelpWindow::openFile(const std::string& path) {
  if (file_ && file_->path() == path) return true;
  tl::expected<ChmFile, std::string> opened = ChmFile::Open(path);
  if (!opened) return false;
  browser_.setHelpFile(nullptr);
  file_ = std::move(*opened);
  browser_.setHelpFile(&*file_);
  browser_.clearHistory();
  const std::string title = file_->System().title;
  setWindowTitle(title.empty() ? QStringLiteral("Help") : QString::fromStdString(title));
  fillContents();
  return true;
}

std::string HelpWindow::startTopic() const {
  if (!file_) return {};
  std::string start = file_->System().default_topic;
  if (start.empty()) start = "index.htm";
  if (start.front() != '/') start.insert(start.begin(), '/');
  return start;
}

void HelpWindow::showTopic(const std::string& topic) {
  if (!file_) return;
  std::string wanted = topic.empty() ? startTopic() : topic;
  if (wanted.front() != '/') wanted.insert(wanted.begin(), '/');
  browser_.setSource(TopicUrl(wanted), QTextDocument::HtmlResource);
}

void HelpWindow::followLink(const QUrl& link) {
  const QUrl target = browser_.source().resolved(link);
  if (target.scheme() == QLatin1String(kChmScheme))
    browser_.setSource(target, QTextDocument::HtmlResource);
  else
    QDesktopServices::openUrl(target);
}

QString HelpWindow::currentTopic() const { return browser_.source().path(); }

void HelpWindow::fillContents() {
  contents_.clear();
  const std::string sitemap = file_->System().contents_file;
  std::optional<std::vector<std::byte>> bytes = sitemap.empty() ? std::nullopt : file_->Read(sitemap);
  if (!bytes) {
    contents_.hide();
    return;
  }
  const QByteArray html = ToByteArray(*bytes);
  // Each entry hangs below the last entry one level up.
  std::vector<QTreeWidgetItem*> parents;
  for (const SitemapEntry& entry : ParseSitemap(std::string_view(html.constData(), html.size()))) {
    const std::size_t depth = std::min<std::size_t>(static_cast<std::size_t>(entry.depth), parents.size());
    parents.resize(depth);
    auto* item = depth == 0 ? new QTreeWidgetItem(&contents_) : new QTreeWidgetItem(parents.back());
    item->setText(0, QString::fromStdString(entry.name));
    item->setData(0, kTopicRole, QString::fromStdString(entry.local));
    parents.push_back(item);
  }
  contents_.expandAll();
  contents_.setVisible(contents_.topLevelItemCount() > 0);
}

}  // namespace pw::platform
