// Writes the seed corpora of the fuzz targets:
//   make_corpus OUTDIR      (OUTDIR/config, OUTDIR/langfile and OUTDIR/flag)
// The files are made the same way every time; fuzz/corpus holds what this program wrote.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace {
QString outDir;
int written = 0;

void put(const QString &sub, const QString &name, const QByteArray &data)
{
    QDir().mkpath(outDir + QLatin1Char('/') + sub);
    QFile f(outDir + QLatin1Char('/') + sub + QLatin1Char('/') + name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    ++written;
}

// ---- configuration records ----------------------------------------------------------------

QByteArray record(int hints, int lang, const QByteArray &path, int defaultLang, int lengthByte = -1,
                  quint8 r1 = 0, quint8 r2 = 0)
{
    QByteArray rec(209, '\0');
    rec[0] = char(hints);
    rec[1] = char(lang);
    rec[2] = char(lengthByte >= 0 ? lengthByte : path.size());
    for (int i = 0; i < path.size() && i < 200; ++i)
        rec[3 + i] = path[i];
    if (defaultLang >= 0)
        rec[203 + defaultLang] = 1;
    rec[207] = char(r1);
    rec[208] = char(r2);
    return rec;
}

// The bytes after the record that the configuration target plays as the session.
QByteArray session(int lang, int actions, const QByteArray &newName = QByteArray())
{
    return QByteArray(1, char(lang)) + QByteArray(1, char(actions)) + newName;
}

void configCorpus()
{
    put("config", "empty_record", record(0, 0, "", -1));
    put("config", "english_default", record(1, 1, "", 1));
    put("config", "fourth_with_flag", record(0, 3, "s.lng", 3, -1, 0x12, 0x34));
    put("config", "fourth_without_flag", record(1, 3, "t.lng", 3));
    put("config", "refused_file", record(0, 0, "bad.lng", 0));
    put("config", "too_large_file", record(0, 2, "huge.lng", 2));
    put("config", "folder_named_lng", record(0, 2, "dir.lng", -1));
    put("config", "missing_file", record(1, 3, "/nonexistent/lingua.lng", 3));
    put("config", "capital_extension", record(0, 1, "s.LNG", 1));
    put("config", "utf8_path", record(0, 1, "Espa\xc3\xb1ol.lng", 1));
    put("config", "latin1_path", record(0, 1, "Espa\xf1ol.lng", 1));
    put("config", "path_200", record(0, 1, QByteArray(194, 'a') + "/s.lng", 1));
    put("config", "length_byte_255", record(0, 1, QByteArray(200, 'z'), 1, 255));
    put("config", "length_past_path", record(0, 1, "s.lng", 1, 9));
    put("config", "bytes_out_of_range", [] {
        QByteArray r = record(7, 9, "s.lng", -1);
        r[203] = 2, r[204] = char(0xff), r[205] = 0, r[206] = 5;
        return r;
    }());
    put("config", "short_100", record(1, 1, "s.lng", 1).left(100));
    put("config", "short_208", record(1, 1, "s.lng", 1).left(208));
    put("config", "empty_file", QByteArray());
    put("config", "two_records", record(0, 0, "s.lng", 0) + record(1, 1, "t.lng", 1));
    // Sessions: LANG, the actions byte, a new language file name.
    put("config", "session_choose_french", record(0, 1, "", -1) + session(3, 3 << 1));
    put("config", "session_toggle_hints", record(0, 1, "s.lng", 3) + session(1, 1));
    put("config", "session_load_file", record(0, 1, "", 2) + session(0, 0x10 | (4 << 1), "s.lng"));
    put("config", "session_long_name",
        record(0, 1, "", 1) + session(2, 0x10 | (1 << 1) | 0x40, QByteArray("/tmp/") + QByteArray(60, 'x')
                                          + QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x87\xaa\xf0\x9f\x87\xb8").repeated(12)
                                          + ".lng"));
    put("config", "session_switch_language", record(1, 3, "s.lng", -1) + session(5, (1 << 1) | 0x60));
}

// ---- language files -------------------------------------------------------------------------

QByteArray spanish;

QStringList spanishLines()
{
    return QString::fromUtf8(spanish).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray joined(const QStringList &lines, const char *eol = "\n", bool finalBreak = true)
{
    QByteArray out = lines.join(QString::fromLatin1(eol)).toUtf8();
    if (finalBreak)
        out += eol;
    return out;
}

void langfileCorpus()
{
    const QStringList lines = spanishLines();
    put("langfile", "spanish.lng", spanish);
    put("langfile", "crlf.lng", joined(lines, "\r\n"));
    put("langfile", "cr.lng", joined(lines, "\r"));
    put("langfile", "no_final_break.lng", joined(lines, "\n", false));
    put("langfile", "bom.lng", "\xEF\xBB\xBF" + spanish);
    put("langfile", "latin1.lng", lines.join(QLatin1Char('\n')).toLatin1() + '\n');
    put("langfile", "lines_198.lng", joined(lines.mid(0, 198)));
    put("langfile", "lines_200.lng", joined(QStringList(lines) << QStringLiteral("199 extra")));
    put("langfile", "capital_menu.lng", joined(QStringList(lines).replaceInStrings(QStringLiteral("*menu*"), QStringLiteral("*Menu*"))));
    QStringList trailing = lines;
    trailing[0] += QLatin1Char(' ');
    put("langfile", "trailing_blank.lng", joined(trailing));
    QStringList longLines = lines;
    for (int i = 1; i < longLines.size(); i += 3)
        longLines[i] = longLines[i].left(4) + QString(146, QChar(0x00e9 + i % 7));
    // A character outside the basic plane across the 100-character cut.
    longLines[5] = longLines[5].left(4) + QString(95, QLatin1Char('x')) + QString::fromUtf8("\xf0\x9f\x87\xaa") + QStringLiteral("tail");
    put("langfile", "long_lines.lng", joined(longLines));
    QStringList shortLines = lines;
    for (int i = 1; i < shortLines.size(); i += 2)
        shortLines[i] = shortLines[i].left(i % 5);
    put("langfile", "short_lines.lng", joined(shortLines));
    put("langfile", "empty.lng", QByteArray());
    put("langfile", "first_line_only.lng", "000 *menu*\n");
    put("langfile", "blank_lines.lng", "000 *menu*" + QByteArray(198, '\n'));
    put("langfile", "mixed_breaks.lng", "000 *menu*\r\n001 a\r002 b\n\r003 c\r\r\n");
    put("langfile", "invalid_utf8.lng", "000 *menu*\n001 \xc3\x28\n002 \xed\xa0\x80\n003 \xf4\x90\x80\x80\n");
}

// ---- flag pictures --------------------------------------------------------------------------

QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xff), b[1] = char((v >> 8) & 0xff);
    return b;
}

QByteArray le32(qint64 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

// A tricolour flag: green, white and red bands, indices 0..2.
int band(int x, int w) { return x * 3 / w; }
const QRgb bandColour[3] = {qRgb(0, 146, 70), qRgb(255, 255, 255), qRgb(206, 43, 55)};

QByteArray fileHeader(int fileSize, int offset)
{
    return QByteArray("BM") + le32(fileSize) + le16(0) + le16(0) + le32(offset);
}

QByteArray infoHeader(int w, int h, int bpp, int compression, int imageSize, int colours)
{
    return le32(40) + le32(w) + le32(h) + le16(1) + le16(bpp) + le32(compression) + le32(imageSize)
         + le32(2835) + le32(2835) + le32(colours) + le32(0);
}

QByteArray paletteBytes(int n)
{
    QByteArray p;
    for (int i = 0; i < n; ++i) {
        const QRgb c = i < 3 ? bandColour[i] : qRgb(i, i, i);
        p += char(qBlue(c)), p += char(qGreen(c)), p += char(qRed(c)), p += char(0);
    }
    return p;
}

// Uncompressed rows, bottom-up, each padded to four bytes.
QByteArray rows(int w, int h, int bpp)
{
    QByteArray out;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row;
        if (bpp == 1 || bpp == 4 || bpp == 8) {
            int acc = 0, bits = 0;
            for (int x = 0; x < w; ++x) {
                const int idx = bpp == 1 ? (band(x, w) == 1 ? 1 : 0) : band(x, w);
                acc = (acc << bpp) | idx;
                bits += bpp;
                if (bits == 8)
                    row += char(acc), acc = 0, bits = 0;
            }
            if (bits)
                row += char(acc << (8 - bits));
        } else {
            for (int x = 0; x < w; ++x) {
                const QRgb c = bandColour[band(x, w)];
                if (bpp == 16) {
                    row += le16(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) | (qBlue(c) >> 3));
                } else {
                    row += char(qBlue(c)), row += char(qGreen(c)), row += char(qRed(c));
                    if (bpp == 32)
                        row += char(y < h / 2 ? 0xff : 0x80);
                }
            }
        }
        while (row.size() % 4)
            row += '\0';
        out += row;
    }
    return out;
}

QByteArray bmp(int w, int h, int bpp, int compression, const QByteArray &pixels, int colours,
               const QByteArray &masks = QByteArray(), int headerHeight = 0)
{
    const QByteArray info = infoHeader(w, headerHeight ? headerHeight : h, bpp, compression, pixels.size(), colours);
    const QByteArray pal = paletteBytes(colours);
    const int offset = 14 + info.size() + masks.size() + pal.size();
    return fileHeader(offset + pixels.size(), offset) + info + masks + pal + pixels;
}

// Run-length coded rows: one run per band, end of line, end of picture.
QByteArray rle(int w, int h, bool four)
{
    QByteArray out;
    for (int y = 0; y < h; ++y) {
        for (int b = 0; b < 3; ++b) {
            const int from = (b * w + 2) / 3, to = ((b + 1) * w + 2) / 3;
            const int n = to - from;
            if (n <= 0)
                continue;
            out += char(n);
            out += char(four ? (b << 4) | b : b);
        }
        out += QByteArray("\0\0", 2);
    }
    out += QByteArray("\0\1", 2);
    return out;
}

QImage drawnFlag(int w, int h, QImage::Format format)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    for (int b = 0; b < 3; ++b)
        p.fillRect(QRect(b * w / 3, 0, (b + 1) * w / 3 - b * w / 3, h), QColor(bandColour[b]));
    p.setPen(QColor(0, 0, 128));
    p.drawEllipse(QPoint(w / 2, h / 2), h / 4, h / 4);
    p.end();
    if (format == QImage::Format_Mono || format == QImage::Format_Indexed8)
        return img.convertToFormat(format, Qt::ThresholdDither);
    return img.convertToFormat(format);
}

QByteArray saved(const QImage &img, const char *format)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    if (!img.save(&buf, format)) {
        std::fprintf(stderr, "cannot write a %s picture\n", format);
        std::exit(1);
    }
    return out;
}

void flagCorpus()
{
    // Written by the toolkit.
    put("flag", "qt_mono_16x16.bmp", saved(drawnFlag(16, 16, QImage::Format_Mono), "BMP"));
    put("flag", "qt_indexed8_20x12.bmp", saved(drawnFlag(20, 12, QImage::Format_Indexed8), "BMP"));
    put("flag", "qt_rgb32_24x16.bmp", saved(drawnFlag(24, 16, QImage::Format_RGB32), "BMP"));
    put("flag", "qt_argb32_16x16.bmp", saved(drawnFlag(16, 16, QImage::Format_ARGB32), "BMP"));
    put("flag", "qt_rgb16_15x9.bmp", saved(drawnFlag(15, 9, QImage::Format_RGB16), "BMP"));
    // Written by hand: depths and codings that the toolkit does not write.
    put("flag", "hand_4bit_18x12.bmp", bmp(18, 12, 4, 0, rows(18, 12, 4), 16));
    put("flag", "hand_1bit_17x5.bmp", bmp(17, 5, 1, 0, rows(17, 5, 1), 2));
    put("flag", "hand_8bit_topdown.bmp", bmp(12, 8, 8, 0, rows(12, 8, 8), 3, QByteArray(), -8));
    put("flag", "hand_rle8_21x14.bmp", bmp(21, 14, 8, 1, rle(21, 14, false), 3));
    put("flag", "hand_rle4_21x14.bmp", bmp(21, 14, 4, 2, rle(21, 14, true), 16));
    put("flag", "hand_bitfields16_16x16.bmp",
        bmp(16, 16, 16, 3, rows(16, 16, 16), 0, le32(0xf800) + le32(0x07e0) + le32(0x001f)));
    put("flag", "hand_bitfields32_16x16.bmp",
        bmp(16, 16, 32, 3, rows(16, 16, 32), 0, le32(0xff0000) + le32(0x00ff00) + le32(0x0000ff)));
    {
        // The old 12-byte header with three-byte palette entries.
        const QByteArray px = rows(16, 10, 8);
        QByteArray pal;
        for (int i = 0; i < 3; ++i)
            pal += char(qBlue(bandColour[i])), pal += char(qGreen(bandColour[i])), pal += char(qRed(bandColour[i]));
        pal += QByteArray(3 * 253, '\0');
        const QByteArray core = le32(12) + le16(16) + le16(10) + le16(1) + le16(8);
        const int offset = 14 + core.size() + pal.size();
        put("flag", "hand_os2_core_16x10.bmp", fileHeader(offset + px.size(), offset) + core + pal + px);
    }

    // Broken pictures.
    const QByteArray good = saved(drawnFlag(24, 16, QImage::Format_RGB32), "BMP");
    put("flag", "truncated_half.bmp", good.left(good.size() / 2));
    put("flag", "header_only.bmp", good.left(54));
    put("flag", "file_header_only.bmp", good.left(14));
    QByteArray badMagic = good;
    badMagic[1] = 'X';
    put("flag", "bad_magic.bmp", badMagic);
    QByteArray farOffset = good;
    farOffset.replace(10, 4, le32(1 << 20));
    put("flag", "offset_past_end.bmp", farOffset);
    put("flag", "huge_size_claim.bmp", bmp(60000, 60000, 24, 0, QByteArray(64, '\x7f'), 0));
    put("flag", "huge_rle_claim.bmp", bmp(65535, 65535, 8, 1, QByteArray("\0\1", 2), 3));
    put("flag", "at_limit_rle.bmp", bmp(4096, 4096, 8, 1, QByteArray("\x10\x01\0\0\0\1", 6), 3));
    put("flag", "over_limit_rle.bmp", bmp(4097, 4096, 8, 1, QByteArray("\0\1", 2), 3));
    put("flag", "negative_width.bmp", bmp(-16, 16, 24, 0, rows(16, 16, 24), 0));
    put("flag", "zero_height.bmp", bmp(16, 0, 24, 0, QByteArray(), 0));
    put("flag", "depth_7.bmp", bmp(8, 8, 7, 0, QByteArray(64, '\x11'), 0));
    {
        QByteArray manyColours = bmp(8, 8, 8, 0, rows(8, 8, 8), 3);
        manyColours.replace(46, 4, le32(0x7fffffff));
        put("flag", "palette_count_huge.bmp", manyColours);
    }
    put("flag", "zero_bitfields.bmp", bmp(8, 8, 32, 3, rows(8, 8, 32), 0, le32(0) + le32(0) + le32(0)));
    put("flag", "rle_runs_past_row.bmp", bmp(8, 4, 8, 1, QByteArray("\xff\x01\0\2\xff\xff\0\3\x05\x01\x02\x00\0\1", 14), 3));
    put("flag", "jpeg_coding_in_bmp.bmp", bmp(8, 8, 24, 4, QByteArray(100, '\x55'), 0));

    // Other formats under the ".bmp" name: the reader goes by the content.
    put("flag", "png_content.bmp", saved(drawnFlag(16, 11, QImage::Format_ARGB32), "PNG"));
    put("flag", "jpeg_content.bmp", saved(drawnFlag(16, 11, QImage::Format_RGB32), "JPEG"));
    {
        // The toolkit leaves the padding of the transparency mask (the last 16 rows of 4 bytes)
        // unset; the mask is cleared so that the file is the same every time.
        QByteArray ico = saved(drawnFlag(16, 16, QImage::Format_ARGB32), "ICO");
        ico.replace(ico.size() - 64, 64, QByteArray(64, '\0'));
        put("flag", "ico_content.bmp", ico);
    }
    put("flag", "gif_content.bmp", QByteArray("GIF89a\x02\0\x02\0\x80\0\0\0\x92\x46\xce\x2b\x37"
                                              "\x2c\0\0\0\0\x02\0\x02\0\0\x02\x02\x44\x54\0\x3b", 35));
    put("flag", "svg_content.bmp",
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"24\" height=\"16\">"
        "<rect width=\"8\" height=\"16\" fill=\"#009246\"/><rect x=\"16\" width=\"8\" height=\"16\" fill=\"#ce2b37\"/>"
        "<text x=\"9\" y=\"12\" font-size=\"10\">E</text></svg>\n");
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    QFile in(QStringLiteral(VASTARA_SPANISH_LNG));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", VASTARA_SPANISH_LNG);
        return 1;
    }
    spanish = in.readAll();
    configCorpus();
    langfileCorpus();
    flagCorpus();
    std::printf("%d files written under %s\n", written, argv[1]);
    return 0;
}
