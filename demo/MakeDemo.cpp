// Writes the demo's background picture (demo.jpg) and its measurement file (demo.csv) into
// the folder named on the command line. Both are deterministic: the same build gives the
// same bytes, so the golden image of the demo stays valid.

#include "demo/DemoLayout.h"
#include "platform/TextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int kRows = 3000;
constexpr double kPi = 3.14159265358979323846;

const QColor kInk(40, 52, 66);
const QColor kPipe(120, 132, 146);
const QColor kTankWall(70, 86, 104);
const QColor kPanel(252, 253, 255);
const QColor kGrid(214, 222, 232);

void DrawLabel(QPainter& p, const demo_layout::Label& label)
{
    p.setPen(kInk);
    p.drawText(label.box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf16(label.text));
}

void DrawPipe(QPainter& p, std::initializer_list<QPoint> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPoint& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kPipe, 12, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    p.setPen(QPen(QColor(176, 188, 200), 4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
}

void DrawArrowHead(QPainter& p, QPoint tip, int dx)
{
    QPolygon head;
    head << tip << QPoint(tip.x() - dx, tip.y() - 14) << QPoint(tip.x() - dx, tip.y() + 14);
    p.setPen(Qt::NoPen);
    p.setBrush(kPipe);
    p.drawPolygon(head);
}

void DrawTank(QPainter& p, const QRect& r)
{
    QLinearGradient fill(r.topLeft(), r.topRight());
    fill.setColorAt(0, QColor(226, 234, 242));
    fill.setColorAt(0.5, QColor(246, 249, 252));
    fill.setColorAt(1, QColor(214, 224, 234));
    p.setPen(QPen(kTankWall, 4));
    p.setBrush(fill);
    p.drawRoundedRect(r, 14, 14);
    // Level marks every 25 %, matching the bars' 0..100 range.
    p.setPen(QPen(kGrid.darker(115), 1, Qt::DashLine));
    const int inner = r.height() - 16;
    for (int i = 1; i < 4; ++i) {
        const int y = r.bottom() - 8 - inner * i / 4;
        p.drawLine(r.left() + 6, y, r.right() - 6, y);
    }
}

void DrawPump(QPainter& p, QPoint c)
{
    p.setPen(QPen(kTankWall, 4));
    p.setBrush(QColor(236, 242, 248));
    p.drawEllipse(c, 28, 28);
    QPolygon blade;
    blade << QPoint(c.x() - 12, c.y() - 16) << QPoint(c.x() + 18, c.y()) << QPoint(c.x() - 12, c.y() + 16);
    p.setBrush(kTankWall);
    p.setPen(Qt::NoPen);
    p.drawPolygon(blade);
}

void DrawValve(QPainter& p, QPoint c)
{
    QPolygon bow;
    bow << QPoint(c.x() - 14, c.y() - 12) << QPoint(c.x() + 14, c.y() + 12) << QPoint(c.x() + 14, c.y() - 12)
        << QPoint(c.x() - 14, c.y() + 12);
    p.setPen(QPen(kTankWall, 2));
    p.setBrush(QColor(250, 250, 250));
    p.drawPolygon(bow);
    p.drawLine(c.x(), c.y(), c.x(), c.y() - 22);
    p.drawLine(c.x() - 10, c.y() - 22, c.x() + 10, c.y() - 22);
}

void DrawPanel(QPainter& p, const QRect& r)
{
    p.setPen(QPen(QColor(188, 198, 210), 2));
    p.setBrush(kPanel);
    p.drawRoundedRect(r, 8, 8);
}

// Grid lines at the axis ticks of a chart whose origin is at o.
void DrawGrid(QPainter& p, QPoint o, int width, int height, int xDivisions, int yDivisions)
{
    p.setPen(QPen(kGrid, 1));
    for (int i = 1; i <= xDivisions; ++i) {
        const int x = o.x() + width * i / xDivisions;
        p.drawLine(x, o.y(), x, o.y() - height);
    }
    for (int i = 1; i <= yDivisions; ++i) {
        const int y = o.y() - height * i / yDivisions;
        p.drawLine(o.x(), y, o.x() + width, y);
    }
}

QImage DrawPicture()
{
    QImage image(demo_layout::kWidth, demo_layout::kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, demo_layout::kHeight);
    sky.setColorAt(0, QColor(232, 238, 244));
    sky.setColorAt(1, QColor(210, 220, 230));
    p.fillRect(image.rect(), sky);
    p.fillRect(QRect(0, 0, demo_layout::kWidth, 66), QColor(198, 212, 226));
    p.fillRect(QRect(0, 600, 1020, 300), QColor(222, 230, 238));

    // Process: raw water in, three tanks joined by two pumps, product out.
    DrawPipe(p, {QPoint(20, 126), QPoint(206, 126), QPoint(206, 200)});
    DrawPipe(p, {QPoint(240, 520), QPoint(420, 520)});
    DrawPipe(p, {QPoint(620, 520), QPoint(780, 520)});
    DrawPipe(p, {QPoint(940, 520), QPoint(996, 520)});
    DrawArrowHead(p, QPoint(1016, 520), 20);
    DrawTank(p, QRect(80, 200, 160, 360));
    DrawTank(p, QRect(420, 160, 200, 400));
    DrawTank(p, QRect(780, 240, 160, 320));
    DrawPump(p, QPoint(330, 520));
    DrawPump(p, QPoint(700, 520));
    DrawValve(p, QPoint(276, 520));
    DrawValve(p, QPoint(750, 520));

    // Heater coil at the bottom of T2 and its temperature element.
    p.setPen(QPen(QColor(196, 90, 60), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath coil;
    coil.moveTo(440, 540);
    for (int i = 0; i < 8; ++i)
        coil.lineTo(452 + i * 20, i % 2 ? 540 : 528);
    p.drawPath(coil);
    p.setPen(QPen(kTankWall, 2));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPoint(600, 236), 13, 13);
    p.drawLine(600, 249, 600, 300);

    // Chart panels; the axes, ticks and labels are drawn by the design itself.
    DrawPanel(p, QRect(1040, 80, 520, 320));
    DrawGrid(p, QPoint(1100, 370), 440, 250, 6, 4);
    DrawPanel(p, QRect(1040, 460, 520, 400));
    DrawGrid(p, QPoint(1100, 830), 440, 330, 6, 7);
    DrawPanel(p, QRect(40, 620, 480, 260));
    DrawPanel(p, QRect(560, 620, 200, 260));
    DrawPanel(p, QRect(800, 620, 200, 260));

    // Balance chart: spokes and rings at 50 % and 100 %.
    const QPoint hub(660, 760);
    p.setPen(QPen(kGrid.darker(110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(hub, 45, 45);
    p.drawEllipse(hub, 90, 90);
    p.drawLine(hub.x() - 90, hub.y(), hub.x() + 90, hub.y());
    p.drawLine(hub.x(), hub.y() - 90, hub.x(), hub.y() + 90);

    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(20);
    p.setFont(font);
    for (const demo_layout::Label& label : demo_layout::kLabels) {
        if (label.box.height() >= 44) {
            QFont title = font;
            title.setPixelSize(28);
            title.setBold(true);
            p.setFont(title);
            DrawLabel(p, label);
            p.setFont(font);
        } else {
            DrawLabel(p, label);
        }
    }
    return image;
}

// xorshift32: the same numbers on every machine, unlike the standard distributions.
class CNoise
{
public:
    double Uniform()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state / 4294967296.0;
    }
    // Roughly normal, mean 0, deviation 1.
    double Normal()
    {
        double s = 0;
        for (int i = 0; i < 12; ++i)
            s += Uniform();
        return s - 6.0;
    }

private:
    uint32_t m_state = 0x2545F491u;
};

QString Num(double v, int decimals) { return QString::number(v, 'f', decimals); }

// A small plant: raw water into T1, pump P1 to the heated reactor T2, pump P2 to the product
// tank T3, and shipping from T3 in batches. One PV line per second, an EV line now and then.
bool WriteCsv(const QString& path)
{
    CTextFile file;
    QString error;
    if (!file.Open(path, CTextFile::Mode::CreateTruncate, &error)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(error));
        return false;
    }
    CNoise noise;
    const QDateTime start(QDate(2026, 12, 9), QTime(10, 33, 50), Qt::UTC);
    double level1 = 45, level2 = 50, level3 = 50, temp = 24, shipped = 0;

    bool ok = file.WriteString(QStringLiteral("TAG,日時,T1液位%,T2液位%,T3液位%,T2温度℃,P1流量,P1揚程kPa,"
                                              "累積出荷m3,濁度NTU,P2流量,P2揚程kPa\n"));
    for (int t = 0; t < kRows && ok; ++t) {
        const QString stamp = start.addSecs(t).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        if (t > 0 && t % 250 == 0) {
            static const char16_t* const events[] = {u"P1 切替", u"T2 ヒーター点検", u"出荷開始", u"濁度計 校正"};
            ok = file.WriteString(QStringLiteral("EV,%1,%2\n").arg(stamp, QString::fromUtf16(events[(t / 250) % 4])));
        }
        const double inflow = 30 + 8 * std::sin(2 * kPi * t / 600.0) + 1.5 * noise.Normal();
        const double q1 = std::clamp(28 + 1.2 * (level1 - 50) + 1.0 * noise.Normal(), 0.0, 58.0);
        const double q2 = std::clamp(27 + 1.0 * (level2 - 55) + 1.0 * noise.Normal(), 0.0, 58.0);
        const bool shipping = t % 600 >= 300 && t % 600 < 480;
        const double qOut = shipping ? 55 + noise.Normal() : 19 + 0.5 * noise.Normal();
        level1 = std::clamp(level1 + (inflow - q1) * 0.02, 2.0, 98.0);
        level2 = std::clamp(level2 + (q1 - q2) * 0.016, 2.0, 98.0);
        level3 = std::clamp(level3 + (q2 - qOut) * 0.004, 2.0, 98.0);
        shipped += qOut / 3600.0;
        // The heater brings T2 to 65 degrees; cold feed at t = 1500 pulls it down for a while.
        const double target = t >= 1500 && t < 1800 ? 48 : 65;
        temp += (target - temp) * 0.004 + 0.08 * noise.Normal();
        const double head1 = 350 - 0.08 * q1 * q1 + 4 * noise.Normal();
        const double head2 = 300 - 0.07 * q2 * q2 + 4 * noise.Normal();
        double turbidity = std::pow(10.0, 1.4 + 0.7 * std::sin(2 * kPi * t / 900.0) + 0.08 * noise.Normal());
        if (t % 1000 >= 700 && t % 1000 < 720)
            turbidity *= 20; // a burst after each backwash
        const QString line = QStringList{QStringLiteral("PV"), stamp, Num(level1, 2), Num(level2, 2), Num(level3, 2),
                                         Num(temp, 2), Num(q1, 2), Num(head1, 1), Num(shipped, 3),
                                         Num(turbidity, 1), Num(q2, 2), Num(head2, 1)}
                                 .join(QLatin1Char(','));
        ok = file.WriteString(line + QLatin1Char('\n'));
    }
    ok = file.Flush() && ok;
    file.Close();
    if (!ok || file.HasError()) {
        std::fprintf(stderr, "%s: write error\n", qUtf8Printable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel-make-demo OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "%s: cannot create the folder\n", argv[1]);
        return 1;
    }
    const QString jpg = dir.filePath(QStringLiteral("demo.jpg"));
    if (!DrawPicture().save(jpg, "JPG", 90)) {
        std::fprintf(stderr, "%s: cannot write the picture\n", qUtf8Printable(jpg));
        return 1;
    }
    return WriteCsv(dir.filePath(QStringLiteral("demo.csv"))) ? 0 : 1;
}
