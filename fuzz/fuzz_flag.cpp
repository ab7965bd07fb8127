// The flag picture: the ".bmp" file beside the language file, loaded into FlagBitmap and added
// to the image list as a 16 x 16 icon.
//
// The input is the picture file's bytes. The reader decides the format from the content, as the
// program does, so a picture of another format under the ".bmp" name is read as well.
#include "fuzz_common.h"

#include "imagelist.h"
#include "language/langfile.h"

#include <QImage>

namespace {
QString languageFile, flagFile;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startGuiApplication();
    const QString dir = fuzz::scratchFolder();
    languageFile = dir + QStringLiteral("/x.lng");
    flagFile = dir + QStringLiteral("/x.bmp");
    fuzz::writeFile(languageFile, fuzz::validLanguageFile());
    fuzz::rememberImageList();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(size));
    fuzz::writeFile(flagFile, data);
    LngFileName = languageFile;
    FlagBitmap = QImage();

    const bool loaded = LoadFlagPicture();
    FUZZ_CHECK(loaded == !FlagBitmap.isNull());
    if (loaded) {
        FUZZ_CHECK(FlagBitmap.width() > 0 && FlagBitmap.height() > 0);
        // No picture larger than 4096 x 4096 pixels is taken in.
        FUZZ_CHECK(qint64(FlagBitmap.width()) * FlagBitmap.height() <= MaxFlagPixels);
    }

    const int index = ImageList2().Add(FlagBitmap);
    FUZZ_CHECK((index >= 0) == loaded);
    if (index >= 0) {
        FUZZ_CHECK(index == fuzz::rememberedImageCount());
        const QImage icon = ImageList2().image(index);
        FUZZ_CHECK(icon.size() == QSize(16, 16));
        FUZZ_CHECK(icon.format() == QImage::Format_ARGB32);
    }
    fuzz::restoreImageList();
    FlagBitmap = QImage();
    return 0;
}
