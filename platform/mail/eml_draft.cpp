#include "platform/mail/eml_draft.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>

#include "platform/files/file_writing.h"

namespace pw::platform {
namespace {

bool IsPlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u < 0x7F;
  });
}

// A header value: as it is when plain ASCII, else an RFC 2047 encoded word.
std::string HeaderText(std::string_view text) {
  if (IsPlainAscii(text)) return std::string(text);
  const QByteArray encoded = QByteArray(text.data(), static_cast<qsizetype>(text.size())).toBase64();
  return "=?UTF-8?B?" + encoded.toStdString() + "?=";
}

std::string Mailbox(const MailRecipient& who) {
  if (who.name.empty()) return "<" + who.address + ">";
  std::string quoted;
  for (char c : who.name) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return IsPlainAscii(who.name) ? "\"" + quoted + "\" <" + who.address + ">"
                                : HeaderText(who.name) + " <" + who.address + ">";
}

// The filename parameter: quoted when plain, else RFC 2231 percent form.
std::string FileNameParameter(std::string_view name) {
  if (IsPlainAscii(name) && name.find_first_of("\"\\") == std::string_view::npos)
    return "filename=\"" + std::string(name) + "\"";
  const QByteArray raw(name.data(), static_cast<qsizetype>(name.size()));
  return "filename*=UTF-8''" + raw.toPercentEncoding().toStdString();
}

std::string Base64Lines(const QByteArray& data) {
  const QByteArray encoded = data.toBase64();
  std::string out;
  out.reserve(static_cast<std::size_t>(encoded.size()) + static_cast<std::size_t>(encoded.size()) / 38 + 2);
  for (qsizetype at = 0; at < encoded.size(); at += 76) {
    out.append(encoded.constData() + at, static_cast<std::size_t>(std::min<qsizetype>(76, encoded.size() - at)));
    out += "\r\n";
  }
  return out;
}

std::string WithCrlf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string Sender() {
  const QByteArray email = qgetenv("EMAIL");
  if (!email.isEmpty()) return "<" + email.toStdString() + ">";
  const QByteArray user = qgetenv("USER");
  return "<" + (user.isEmpty() ? std::string("user") : user.toStdString()) + "@localhost>";
}

}  // namespace

tl::expected<std::string, std::string> ComposeDraft(const MailMessage& message, const std::string& from,
                                                    const std::string& boundary) {
  std::string out;
  out += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toStdString() + "\r\n";
  out += "From: " + from + "\r\n";
  if (!message.recipients.empty()) {
    out += "To: ";
    for (std::size_t i = 0; i < message.recipients.size(); ++i)
      out += (i ? ", " : "") + Mailbox(message.recipients[i]);
    out += "\r\n";
  }
  out += "Subject: " + HeaderText(message.subject) + "\r\n";
  out += "X-Unsent: 1\r\n";
  out += "MIME-Version: 1.0\r\n";
  out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
  out += "--" + boundary + "\r\n";
  out += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";
  out += WithCrlf(message.note) + "\r\n";
  for (const MailAttachment& attachment : message.attachments) {
    QFile file(QString::fromStdString(attachment.path));
    if (!file.open(QIODevice::ReadOnly))
      return tl::unexpected(attachment.path + ": " + file.errorString().toStdString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
      return tl::unexpected(attachment.path + ": " + file.errorString().toStdString());
    const std::string name = attachment.file_name.empty()
                                 ? QFileInfo(file).fileName().toStdString()
                                 : attachment.file_name;
    out += "--" + boundary + "\r\n";
    out += "Content-Type: application/octet-stream\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment; " + FileNameParameter(name) + "\r\n\r\n";
    out += Base64Lines(data);
  }
  out += "--" + boundary + "--\r\n";
  return out;
}

tl::expected<std::string, std::string> WriteDraft(const std::string& folder, const MailMessage& message) {
  const QString dir = QString::fromStdString(folder);
  if (!QDir().mkpath(dir)) return tl::unexpected("cannot make the outbox folder " + folder);
  const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
  auto text = ComposeDraft(message, Sender(), "=_pagewick_" + id.toStdString());
  if (!text) return tl::unexpected(text.error());
  const QString stamp = QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss-zzz");
  const QString path = QDir(dir).filePath("draft-" + stamp + "-" + id.left(8) + ".eml");
  const std::string draft = path.toStdString();
  if (auto written = files::ReplaceFile(draft, *text); !written) return tl::unexpected(written.error().Message());
  return draft;
}

}  // namespace pw::platform
