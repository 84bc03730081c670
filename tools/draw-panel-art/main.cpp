// pagewick-draw-panel-art FOLDER: draws the command panel's pictures
// (buttonNN.png, bitmaps 172 to 185: each button normal, then lit) and the
// hand cursor (hand.png, cursor 132) into FOLDER.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kWidth = 43;
constexpr int kHeight = 32;
const QColor kGround(232, 228, 252);    // light lilac
const QColor kPale(150, 146, 206);      // the picture at rest
const QColor kStrong(20, 40, 220);      // the picture under the mouse

void Envelope(QPainter& p) {
  p.drawRect(QRectF(9.5, 8.5, 24, 16));
  p.drawPolyline(QPolygonF({QPointF(9.5, 8.5), QPointF(21.5, 18), QPointF(33.5, 8.5)}));
}

void Diskette(QPainter& p, const QColor& colour) {
  QPainterPath body;
  body.moveTo(11.5, 4.5);
  body.lineTo(29.5, 4.5);
  body.lineTo(32.5, 7.5);
  body.lineTo(32.5, 27.5);
  body.lineTo(11.5, 27.5);
  body.closeSubpath();
  p.drawPath(body);
  p.fillRect(QRectF(15, 5, 12, 7), colour);
  p.drawRect(QRectF(14.5, 16.5, 14, 11));
}

void Gear(QPainter& p, const QColor& colour) {
  const QPointF centre(21.5, 16);
  QPolygonF teeth;
  for (int i = 0; i < 16; ++i) {
    const double angle = i * M_PI / 8;
    const double r = (i % 2 == 0) ? 12.5 : 9.5;
    // Each tooth keeps a flat top: two points a little apart.
    teeth << centre + QPointF(r * std::cos(angle - 0.14), r * std::sin(angle - 0.14))
          << centre + QPointF(r * std::cos(angle + 0.14), r * std::sin(angle + 0.14));
  }
  QPainterPath path;
  path.addPolygon(teeth);
  path.closeSubpath();
  path.addEllipse(centre, 4, 4);
  p.fillPath(path, colour);
}

void BookWithQuestion(QPainter& p) {
  p.drawPolygon(QPolygonF({QPointF(21.5, 12), QPointF(8.5, 9), QPointF(8.5, 27), QPointF(21.5, 29)}));
  p.drawPolygon(QPolygonF({QPointF(21.5, 12), QPointF(34.5, 9), QPointF(34.5, 27), QPointF(21.5, 29)}));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(13, -1, 17, 13), Qt::AlignCenter, QStringLiteral("?"));
}

void DoorWithArrow(QPainter& p, const QColor& colour) {
  p.drawRect(QRectF(8.5, 4.5, 14, 23));
  p.fillRect(QRectF(19, 15, 2, 2), colour);
  p.drawLine(QPointF(24, 16), QPointF(35, 16));
  p.drawPolyline(QPolygonF({QPointF(31, 12), QPointF(35.5, 16), QPointF(31, 20)}));
}

void Letters(QPainter& p, const char* text) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(14);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(0, 0, kWidth, kHeight), Qt::AlignCenter, QString::fromLatin1(text));
}

QImage Button(int index, bool lit) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(kGround);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QColor colour = lit ? kStrong : kPale;
  p.setPen(QPen(colour, lit ? 2.0 : 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  switch (index) {
    case 0: Envelope(p); break;
    case 1: Diskette(p, colour); break;
    case 2: Gear(p, colour); break;
    case 3: BookWithQuestion(p); break;
    case 4: DoorWithArrow(p, colour); break;
    case 5: Letters(p, "PDF"); break;
    case 6: Letters(p, "HTM"); break;
  }
  return image;
}

// A pointing hand, fingertip at (10, 1): the cursor's hot spot.
QImage Hand() {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath hand;
  hand.moveTo(8.5, 3);
  hand.quadTo(10.5, 0.5, 12.5, 3);
  hand.lineTo(12.5, 12);
  hand.lineTo(16.5, 11);
  hand.lineTo(20.5, 12);
  hand.lineTo(24.5, 13);
  hand.quadTo(27.5, 14, 27.5, 17);
  hand.lineTo(26.5, 24);
  hand.lineTo(23.5, 29.5);
  hand.lineTo(11.5, 29.5);
  hand.lineTo(4.5, 20);
  hand.quadTo(3.5, 16.5, 6.5, 17);
  hand.lineTo(8.5, 19);
  hand.closeSubpath();
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(Qt::white);
  p.drawPath(hand);
  p.drawLine(QPointF(16.5, 11), QPointF(16.5, 17));
  p.drawLine(QPointF(20.5, 12), QPointF(20.5, 17));
  p.drawLine(QPointF(24.5, 13), QPointF(24.5, 17));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
    std::printf("Usage: pagewick-draw-panel-art FOLDER\n\n"
                "Draws the command panel's button pictures (button172.png to button185.png)\n"
                "and the hand cursor (hand.png) into FOLDER.\n");
    return argc == 2 ? 0 : 2;
  }
  QGuiApplication app(argc, argv);
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  bool ok = true;
  for (int i = 0; i < 7; ++i) {
    for (int lit = 0; lit < 2; ++lit) {
      const QString name = QStringLiteral("button%1.png").arg(172 + 2 * i + lit);
      ok = Button(i, lit != 0).save(folder.filePath(name)) && ok;
    }
  }
  ok = Hand().save(folder.filePath(QStringLiteral("hand.png"))) && ok;
  if (!ok) std::fprintf(stderr, "pagewick-draw-panel-art: could not write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
