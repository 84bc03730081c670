#include "platform/msgbox/gui_message_box.h"

#include "platform/msgbox/console_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <utility>

namespace pw::platform {
namespace {

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
  }
  return QMessageBox::Ok;
}

// The first button of each set is the default one, as on the desktop the
// program was written for.
QMessageBox::StandardButton FirstButton(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel: return QMessageBox::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return QMessageBox::Yes;
    case MessageButtons::RetryCancel: return QMessageBox::Retry;
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Closing the box without a button (Esc, the close box) counts as Cancel
// where the set has one; Qt reports the escape button, which we map back.
MessageAnswer FromQt(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    case QMessageBox::Abort: return MessageAnswer::Abort;
    case QMessageBox::Ignore: return MessageAnswer::Ignore;
    default: break;
  }
  return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

}  // namespace

GuiMessageBoxHost::GuiMessageBoxHost(std::function<QWidget*()> main_window)
    : main_window_(std::move(main_window)) {}

MessageAnswer GuiMessageBoxHost::Show(const MessageRequest& request) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QCoreApplication::closingDown() || !qobject_cast<QApplication*>(app)) {
    // No user-interface thread to ask (before start or after the end of
    // the message loop): say it on the console rather than lose it.
    return ConsoleMessageBoxHost().Show(request);
  }
  if (QThread::currentThread() == app->thread()) return ShowHere(request);

  MessageAnswer answer = MessageAnswer::Cancel;
  QMetaObject::invokeMethod(
      app, [&] { answer = ShowHere(request); }, Qt::BlockingQueuedConnection);
  return answer;
}

MessageAnswer GuiMessageBoxHost::ShowHere(const MessageRequest& request) {
  QWidget* owner = nullptr;
  if (request.owner == MessageOwner::MainWindow && main_window_) owner = main_window_();

  QMessageBox box(ToQt(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text), ToQt(request.buttons), owner);
  // Texts carry file and printer names; never let them be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(FirstButton(request.buttons));
  return FromQt(box.exec(), request.buttons);
}

}  // namespace pw::platform
