// Pixel helpers: a box blur for glows and shadows, and palette reduction for smaller PNGs.
#include "skinart.h"

#include <QHash>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace skingen {

namespace {

// One horizontal box pass over the rows of a premultiplied ARGB image (4 channels).
void boxPass(std::vector<int>& px, int w, int h, int r, bool horizontal)
{
    const int n = horizontal ? w : h;
    const int lines = horizontal ? h : w;
    std::vector<int> line(static_cast<size_t>(n) * 4);
    for (int l = 0; l < lines; ++l) {
        auto at = [&](int i) -> int* {
            const int x = horizontal ? i : l;
            const int y = horizontal ? l : i;
            return &px[(static_cast<size_t>(y) * w + x) * 4];
        };
        for (int i = 0; i < n; ++i)
            std::copy(at(i), at(i) + 4, &line[static_cast<size_t>(i) * 4]);
        int sum[4] = {0, 0, 0, 0};
        // window [i - r, i + r], pixels outside count as transparent
        for (int k = 0; k <= r && k < n; ++k)
            for (int c = 0; c < 4; ++c) sum[c] += line[static_cast<size_t>(k) * 4 + c];
        const int div = 2 * r + 1;
        for (int i = 0; i < n; ++i) {
            int* p = at(i);
            for (int c = 0; c < 4; ++c) p[c] = sum[c] / div;
            const int add = i + r + 1, sub = i - r;
            if (add < n)
                for (int c = 0; c < 4; ++c) sum[c] += line[static_cast<size_t>(add) * 4 + c];
            if (sub >= 0)
                for (int c = 0; c < 4; ++c) sum[c] -= line[static_cast<size_t>(sub) * 4 + c];
        }
    }
}

} // namespace

void blurImage(QImage& img, int radius)
{
    if (radius <= 0) return;
    img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = img.width(), h = img.height();
    std::vector<int> px(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            int* p = &px[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = qAlpha(row[x]); p[1] = qRed(row[x]); p[2] = qGreen(row[x]); p[3] = qBlue(row[x]);
        }
    }
    const int r = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(px, w, h, r, true);
        boxPass(px, w, h, r, false);
    }
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int* p = &px[(static_cast<size_t>(y) * w + x) * 4];
            const int a = std::clamp(p[0], 0, 255);
            row[x] = qRgba(std::min(p[1], a), std::min(p[2], a), std::min(p[3], a), a);
        }
    }
}

// Palette reduction. Images with at most 256 distinct colours become an exact palette image.
// Otherwise a median-cut palette of 256 colours is built; the result is used only if no pixel
// moves by more than a small tolerance, so the artwork never shows visible banding.
QImage quantizeForPng(const QImage& src)
{
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            QRgb c = row[x];
            if (qAlpha(c) == 0) c = 0;
            ++counts[c];
        }
    }
    std::vector<QRgb> palette;
    if (counts.size() <= 256) {
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) palette.push_back(it.key());
        std::sort(palette.begin(), palette.end()); // QHash order varies between runs
    } else {
        // median cut over weighted colours
        struct Entry { QRgb c; int n; };
        std::vector<Entry> all;
        all.reserve(counts.size());
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) all.push_back({it.key(), it.value()});
        std::sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) { return a.c < b.c; });
        struct Box { size_t begin, end; };
        std::vector<Box> boxes = {{0, all.size()}};
        auto channel = [](QRgb c, int ch) {
            switch (ch) {
            case 0: return qAlpha(c);
            case 1: return qRed(c);
            case 2: return qGreen(c);
            default: return qBlue(c);
            }
        };
        while (boxes.size() < 256) {
            // split the box with the largest range
            int best = -1, bestRange = 0, bestCh = 0;
            for (size_t b = 0; b < boxes.size(); ++b) {
                if (boxes[b].end - boxes[b].begin < 2) continue;
                for (int ch = 0; ch < 4; ++ch) {
                    int lo = 255, hi = 0;
                    for (size_t i = boxes[b].begin; i < boxes[b].end; ++i) {
                        lo = std::min(lo, channel(all[i].c, ch));
                        hi = std::max(hi, channel(all[i].c, ch));
                    }
                    if (hi - lo > bestRange) { bestRange = hi - lo; best = int(b); bestCh = ch; }
                }
            }
            if (best < 0) break;
            Box box = boxes[size_t(best)];
            std::stable_sort(all.begin() + long(box.begin), all.begin() + long(box.end),
                      [&](const Entry& a, const Entry& b) {
                          return channel(a.c, bestCh) < channel(b.c, bestCh);
                      });
            long total = 0;
            for (size_t i = box.begin; i < box.end; ++i) total += all[i].n;
            long acc = 0;
            size_t mid = box.begin + 1;
            for (size_t i = box.begin; i < box.end - 1; ++i) {
                acc += all[i].n;
                if (acc * 2 >= total) { mid = i + 1; break; }
            }
            boxes[size_t(best)] = {box.begin, mid};
            boxes.push_back({mid, box.end});
        }
        for (const Box& b : boxes) {
            double s[4] = {0, 0, 0, 0};
            double n = 0;
            for (size_t i = b.begin; i < b.end; ++i)
                for (int ch = 0; ch < 4; ++ch) s[ch] += channel(all[i].c, ch) * double(all[i].n);
            for (size_t i = b.begin; i < b.end; ++i) n += all[i].n;
            palette.push_back(qRgba(int(s[1] / n + 0.5), int(s[2] / n + 0.5), int(s[3] / n + 0.5),
                                    int(s[0] / n + 0.5)));
        }
    }
    // map colours to the nearest palette entry
    QHash<QRgb, int> index;
    int worst = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QRgb c = it.key();
        int best = 0, bestD = INT32_MAX;
        for (size_t i = 0; i < palette.size(); ++i) {
            const QRgb p = palette[i];
            const int da = qAlpha(c) - qAlpha(p), dr = qRed(c) - qRed(p), dg = qGreen(c) - qGreen(p),
                      db = qBlue(c) - qBlue(p);
            // colour differences matter in proportion to how opaque the pixel is
            const int a = std::max(qAlpha(c), qAlpha(p));
            const int d = 2 * da * da + (dr * dr + dg * dg + db * db) * a / 255;
            if (d < bestD) { bestD = d; best = int(i); }
        }
        index.insert(c, best);
        worst = std::max(worst, bestD);
    }
    if (worst > 3 * 3 * 3) return src; // would band; keep the true-colour image
    QImage out(img.size(), QImage::Format_Indexed8);
    QList<QRgb> table;
    for (QRgb c : palette) table.push_back(c);
    out.setColorTable(table);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        uchar* o = out.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            QRgb c = row[x];
            if (qAlpha(c) == 0) c = 0;
            o[x] = uchar(index.value(c));
        }
    }
    return out;
}

} // namespace skingen
