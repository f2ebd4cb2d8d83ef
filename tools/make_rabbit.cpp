// Build step: draws the running rabbit of the screen animation and writes it as rabbit.dat, an
// 8-bit bottom-up bitmap of 8 frames stacked vertically, into the folder of default files (the
// build's data step carries it into the program folder, where a rabbit.dat already there is the
// user's and stays as it is).
//
//   dasom-make-rabbit DEFAULTS_FOLDER [--preview PNG]
//
// The frames are drawn with anti-aliasing and then put on a palette of their own: entry 0 black,
// entry 255 white, entry 1 the transparent colour (the sheet's lower-left pixel), the rest the
// colours the drawing uses most.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "data_files.h"

namespace {

constexpr int kFrames = 8;
constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr int kTransparent = 1;

// One pose of the bounding run. Angles are in degrees; a leg at 0 points straight down,
// positive angles swing it forward (to the right, where the rabbit runs).
struct Pose {
    double lift;     // the body's rise above its resting height
    double tilt;     // positive: nose down
    double stretch;  // body length against a resting rabbit
    double front;    // near front leg
    double hind;     // near hind foot
    double ears;     // how far the ears lie back
};

// Gathered, push-off, flight, descent, front landing, front push, hind swing, hind landing.
constexpr Pose kPoses[kFrames] = {
    {1, -4, 0.90, -38, 40, 58},  {4, -12, 0.98, -8, -35, 64}, {8, -4, 1.12, 52, -72, 74},
    {6, 7, 1.10, 38, -58, 70},   {2, 12, 1.00, 8, -30, 62},   {1, 7, 0.94, -24, 2, 56},
    {1, 2, 0.88, -44, 28, 54},   {0, -1, 0.86, -50, 46, 56},
};

const QColor kOutline(0x3b, 0x2a, 0x22);
const QColor kFur(0xe6, 0xd6, 0xc2);
const QColor kFurShade(0xc4, 0xac, 0x92);
const QColor kFarFur(0xb0, 0x96, 0x7c);
const QColor kBelly(0xfb, 0xf6, 0xee);
const QColor kInnerEar(0xf4, 0xa8, 0xba);
const QColor kNose(0xe5, 0x6f, 0x8e);
const QColor kEye(0x22, 0x14, 0x14);

QPainterPath ellipse(QPointF centre, double rx, double ry) {
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

// A limb from `root`, `length` long and `width` wide, swung by `angle` (see Pose).
QPainterPath limb(QPointF root, double length, double width, double angle, double foot) {
    QPainterPath path;
    path.addRoundedRect(QRectF(-width / 2, -width / 2, width, length + width / 2), width / 2,
                        width / 2);
    // The foot or paw: a small oval at the end, pointing forward.
    path.addEllipse(QPointF(foot * 0.35, length), foot * 0.6 + width / 2, width / 2);
    QTransform turn;
    turn.translate(root.x(), root.y());
    turn.rotate(-angle);
    return turn.map(path);
}

struct Part {
    QPainterPath path;
    QColor fill;
    bool detail_line;  // a thin outline inside the silhouette as well
};

std::vector<Part> rabbit_parts(const Pose& pose) {
    const double s = pose.stretch;
    std::vector<Part> parts;
    // Far side first: it lies behind the body and is darker.
    parts.push_back({limb({13 * s + 4, 5}, 15, 5, pose.front + 24, 5), kFarFur, true});
    parts.push_back({limb({-15 * s + 4, 8}, 12, 6, pose.hind - 18, 14), kFarFur, true});
    // Body, tail, belly.
    parts.push_back({ellipse({0, 0}, 22 * s, 12.5), kFur, false});
    parts.push_back({ellipse({-22 * s, -3}, 5.5, 5.5), kBelly, true});
    parts.push_back({ellipse({2 * s, 6}, 15 * s, 5.5), kBelly, false});
    // Near legs: the haunch with its long foot, and the front leg.
    parts.push_back({limb({-15 * s, 8}, 12, 6.5, pose.hind, 15), kFurShade, true});
    parts.push_back({ellipse({-14 * s, 2}, 10.5, 9.5), kFur, true});
    parts.push_back({limb({14 * s, 5}, 15, 5.5, pose.front, 5), kFur, true});
    // Ears behind the head, then the head.
    QTransform ear;
    ear.translate(17 * s, -17);
    ear.rotate(-pose.ears);
    const QPainterPath ear_shape = ear.map(ellipse({0, -12}, 4.6, 13));
    const QPainterPath inner_ear = ear.map(ellipse({0.6, -12}, 2.2, 10));
    QTransform far_ear;
    far_ear.translate(15 * s, -17);
    far_ear.rotate(-pose.ears + 12);
    parts.push_back({far_ear.map(ellipse({0, -11}, 4.2, 12)), kFarFur, true});
    parts.push_back({ear_shape, kFur, true});
    parts.push_back({inner_ear, kInnerEar, false});
    parts.push_back({ellipse({23 * s, -10}, 11.5, 9.5), kFur, false});
    parts.push_back({ellipse({27 * s, -6}, 6.5, 5.5), kBelly, false});
    return parts;
}

QImage draw_frame(const Pose& pose) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The body's centre; the legs reach the ground near the bottom row.
    painter.translate(44, 38 - pose.lift);
    painter.rotate(pose.tilt);
    const std::vector<Part> parts = rabbit_parts(pose);

    // The silhouette's outline, then the parts over it, so only the outer edge and a few inner
    // lines are drawn dark.
    painter.setPen(QPen(kOutline, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kOutline);
    for (const Part& part : parts) painter.drawPath(part.path);
    for (const Part& part : parts) {
        painter.setPen(part.detail_line ? QPen(kOutline, 0.9) : QPen(Qt::NoPen));
        painter.setBrush(part.fill);
        painter.drawPath(part.path);
    }
    // Face: eye with a glint, nose, mouth and whiskers.
    const double s = pose.stretch;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kEye);
    painter.drawEllipse(QPointF(26 * s, -12), 2.4, 2.6);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(26.8 * s, -12.9), 0.9, 0.9);
    painter.setBrush(kNose);
    painter.drawEllipse(QPointF(23 * s + 11, -8), 1.8, 1.5);
    painter.setPen(QPen(kOutline, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(23 * s + 10, -6.5), QPointF(23 * s + 8, -4.5));
    painter.setPen(QPen(kFurShade.darker(130), 0.7));
    painter.drawLine(QPointF(23 * s + 9, -7), QPointF(23 * s + 17, -9));
    painter.drawLine(QPointF(23 * s + 9, -6), QPointF(23 * s + 17, -5));
    return image;
}

QColor opaque_colour(QRgb premultiplied) {
    return QColor::fromRgba(qUnpremultiply(premultiplied)).toRgb();
}

int distance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return 3 * r * r + 4 * g * g + 2 * bl * bl;
}

// The sheet with the frames in drawing order from the bottom strip up: the animation shows the
// bottom strip first and then each strip above it.
QImage palette_sheet(const std::vector<QImage>& frames) {
    std::map<QRgb, int> uses;
    for (const QImage& frame : frames) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const QRgb pixel = frame.pixel(x, y);
                if (qAlpha(pixel) >= 128) ++uses[opaque_colour(pixel).rgb() | 0xFF000000u];
            }
        }
    }
    std::vector<std::pair<int, QRgb>> by_use;
    for (const auto& [colour, count] : uses) by_use.emplace_back(count, colour);
    std::sort(by_use.rbegin(), by_use.rend());

    QVector<QRgb> palette(256, qRgb(0, 0, 0));
    palette[0] = qRgb(0, 0, 0);
    palette[255] = qRgb(255, 255, 255);
    palette[kTransparent] = qRgb(255, 0, 255);
    int next = 2;
    for (const auto& entry : by_use) {
        if (next == 255) break;
        palette[next++] = entry.second;
    }

    QImage sheet(kWidth, kHeight * kFrames, QImage::Format_Indexed8);
    sheet.setColorTable(palette);
    sheet.fill(kTransparent);
    std::map<QRgb, int> nearest;
    for (int f = 0; f < kFrames; ++f) {
        const int top = (kFrames - 1 - f) * kHeight;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const QRgb pixel = frames[f].pixel(x, y);
                if (qAlpha(pixel) < 128) continue;
                const QRgb colour = opaque_colour(pixel).rgb() | 0xFF000000u;
                auto found = nearest.find(colour);
                if (found == nearest.end()) {
                    int best = 0;
                    for (int i = 0; i < 256; ++i) {
                        if (i == kTransparent) continue;
                        if (distance(palette[i], colour) < distance(palette[best], colour)) best = i;
                    }
                    found = nearest.emplace(colour, best).first;
                }
                sheet.setPixel(x, top + y, static_cast<uint>(found->second));
            }
        }
    }
    return sheet;
}

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// The bitmap file: 14-byte file header, 40-byte information header, 256 colours, then the
// rows bottom-up, each padded to 4 bytes.
std::string bitmap_file(const QImage& sheet) {
    const std::uint32_t row = (static_cast<std::uint32_t>(sheet.width()) + 3) & ~3u;
    const std::uint32_t pixels = row * static_cast<std::uint32_t>(sheet.height());
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::string out;
    out += "BM";
    put32(out, offset + pixels);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(sheet.width()));
    put32(out, static_cast<std::uint32_t>(sheet.height()));
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);
    put32(out, pixels);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 256);
    put32(out, 0);
    for (int i = 0; i < 256; ++i) {
        const QRgb c = sheet.color(i);
        out += static_cast<char>(qBlue(c));
        out += static_cast<char>(qGreen(c));
        out += static_cast<char>(qRed(c));
        out += '\0';
    }
    for (int y = sheet.height() - 1; y >= 0; --y) {
        const uchar* line = sheet.constScanLine(y);
        out.append(reinterpret_cast<const char*>(line), static_cast<std::size_t>(sheet.width()));
        out.append(row - static_cast<std::uint32_t>(sheet.width()), '\0');
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
        std::cerr << "사용법: dasom-make-rabbit 프로그램폴더 [--preview 그림.png]\n";
        return 2;
    }
    try {
        std::vector<QImage> frames;
        for (const Pose& pose : kPoses) frames.push_back(draw_frame(pose));
        const QImage sheet = palette_sheet(frames);
        if (argc == 4 && !sheet.save(QString::fromLocal8Bit(argv[3]))) {
            std::cerr << argv[3] << ": 미리보기 그림을 쓸 수 없습니다.\n";
            return 1;
        }
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        if (tools::install_file(folder / "rabbit.dat", bitmap_file(sheet),
                                tools::Existing::refresh) == tools::Installed::written) {
            std::cout << "rabbit.dat을 만들었습니다.\n";
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
