#include "widgets/Artwork.h"
#include "widgets/Fonts.h"
#include "TestApplication.h"

#include <QColor>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace zorvane {
namespace {

// Fonts need an application object.
class ArtworkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::TestApplication(); }
};

struct Listed {
    int id;
    int width;
    int height;
    int pictures;
};

// The resource table of the windows' bitmaps.
const std::vector<Listed> kListed{
    {504, 150, 117, 1}, {505, 90, 27, 3},   {506, 126, 27, 3},  {524, 90, 27, 3},   {529, 150, 102, 1},
    {537, 96, 24, 4},   {538, 96, 24, 4},   {542, 20, 20, 1},   {543, 20, 20, 1},   {547, 363, 44, 3},
    {548, 384, 34, 3},  {549, 300, 25, 4},  {550, 512, 34, 4},  {551, 504, 54, 3},  {552, 608, 52, 4},
    {553, 363, 44, 3},  {554, 230, 40, 1},  {555, 230, 40, 1},  {556, 512, 34, 4},  {557, 200, 39, 1},
    {558, 608, 52, 4},  {559, 512, 34, 4},  {560, 456, 52, 3},  {561, 363, 44, 3},  {562, 512, 34, 4},
    {563, 512, 34, 4},  {564, 300, 25, 4},  {565, 300, 25, 4},  {566, 608, 52, 4},  {567, 200, 39, 1},
    {568, 512, 34, 4},  {569, 512, 34, 4},  {570, 504, 54, 3},  {572, 300, 25, 4},  {573, 363, 44, 3},
    {575, 200, 200, 1}, {576, 200, 200, 1}, {580, 504, 54, 3},  {581, 504, 54, 3},  {582, 504, 54, 3},
    {585, 200, 39, 1},  {586, 200, 64, 1},  {590, 504, 54, 3},  {597, 512, 34, 4},
};

enum Picture { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

QImage PictureOf(int id, int index)
{
    const QImage strip = Artwork::Bitmap(id);
    const int width = strip.width() / Artwork::PictureCount(id);
    return strip.copy(index * width, 0, width, strip.height());
}

double Mean(const QImage& image, const std::function<double(const QColor&)>& measure)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += measure(image.pixelColor(x, y));
        }
    }
    return sum / (image.width() * image.height());
}

double Luminance(const QImage& image)
{
    return Mean(image, [](const QColor& c) { return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue(); });
}

double Saturation(const QImage& image)
{
    return Mean(image, [](const QColor& c) { return c.hsvSaturation(); });
}

int Count(const QImage& image, const std::function<bool(const QColor&)>& matches)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += matches(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool IsWhite(const QColor& c)
{
    return c.red() > 235 && c.green() > 235 && c.blue() > 235;
}

bool IsGreen(const QColor& c)
{
    return c.green() > c.red() + 50 && c.green() > c.blue() + 50;
}

bool IsOrange(const QColor& c)
{
    return c.red() > 200 && c.green() > 90 && c.green() < 190 && c.blue() < 90;
}

bool IsRed(const QColor& c)
{
    return c.red() > c.green() + 80 && c.red() > c.blue() + 80;
}

bool IsBlue(const QColor& c)
{
    return c.blue() > c.red() + 80 && c.blue() > c.green() + 20;
}

TEST_F(ArtworkTest, EveryListedBitmapHasItsSizeAndPictureCount)
{
    std::vector<int> listedIds;
    for (const Listed& listed : kListed) {
        SCOPED_TRACE(listed.id);
        const QImage strip = Artwork::Bitmap(listed.id);
        ASSERT_FALSE(strip.isNull());
        EXPECT_EQ(strip.format(), QImage::Format_RGB32);
        EXPECT_EQ(strip.width(), listed.width);
        EXPECT_EQ(strip.height(), listed.height);
        EXPECT_EQ(Artwork::PictureCount(listed.id), listed.pictures);
        listedIds.push_back(listed.id);
    }
    EXPECT_EQ(Artwork::ResourceIds(), listedIds);
}

TEST_F(ArtworkTest, UnknownIdsGiveNoImage)
{
    for (const int id : {0, -1, 1, 128, 503, 571, 600, 99999}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(Artwork::Bitmap(id).isNull());
        EXPECT_EQ(Artwork::PictureCount(id), 0);
    }
}

TEST_F(ArtworkTest, ABitmapIsDrawnOnceAndShared)
{
    EXPECT_EQ(Artwork::Bitmap(550).cacheKey(), Artwork::Bitmap(550).cacheKey());
}

TEST_F(ArtworkTest, ThePicturesOfAStripDifferFromEachOther)
{
    for (const Listed& listed : kListed) {
        for (int a = 0; a < listed.pictures; ++a) {
            for (int b = a + 1; b < listed.pictures; ++b) {
                EXPECT_NE(PictureOf(listed.id, a), PictureOf(listed.id, b))
                    << "resource " << listed.id << ", pictures " << a << " and " << b;
            }
        }
    }
}

// Hover lightens a button, pressing darkens it, and the disabled picture is grey. The close button is the
// exception: it turns red instead (below).
TEST_F(ArtworkTest, ButtonPicturesChangeTheWayTheirStateSays)
{
    for (const Listed& listed : kListed) {
        if (listed.pictures < 3 || listed.id == 506) {
            continue;
        }
        SCOPED_TRACE(listed.id);
        const double normal = Luminance(PictureOf(listed.id, kNormal));
        EXPECT_GT(Luminance(PictureOf(listed.id, kHover)), normal);
        EXPECT_LT(Luminance(PictureOf(listed.id, kPressed)), normal);
        if (listed.pictures == 4) {
            EXPECT_LT(Saturation(PictureOf(listed.id, kDisabled)), 20);
        }
    }
}

TEST_F(ArtworkTest, CloseButtonIsBlueAtRestAndRedUnderTheCursor)
{
    const auto corner = [](int index) { return PictureOf(506, index).pixelColor(2, 2); };
    EXPECT_TRUE(IsBlue(corner(kNormal)));
    EXPECT_TRUE(IsRed(corner(kHover)));
    EXPECT_TRUE(IsRed(corner(kPressed)));
    EXPECT_LT(Luminance(PictureOf(506, kPressed)), Luminance(PictureOf(506, kHover)));
}

TEST_F(ArtworkTest, StatusPicturesShowAWhiteCaptionOnTheirColour)
{
    const struct {
        int id;
        bool (*background)(const QColor&);
    } cases[] = {{554, IsGreen}, {555, IsOrange}};
    for (const auto& [id, background] : cases) {
        SCOPED_TRACE(id);
        const QImage centre = Artwork::Bitmap(id).copy(40, 8, 150, 24);
        EXPECT_GT(Count(centre, IsWhite), 300);
        EXPECT_GT(Count(centre, background), 1000);
    }
}

TEST_F(ArtworkTest, ConnectionLightsAreGreenAndRed)
{
    EXPECT_TRUE(IsGreen(Artwork::Bitmap(542).pixelColor(10, 10)));
    EXPECT_TRUE(IsRed(Artwork::Bitmap(543).pixelColor(10, 10)));
}

// The white ink of a caption (and its icon) is centred in the picture, within a pixel or two.
TEST_F(ArtworkTest, CaptionsAreCentred)
{
    for (const int id : {548, 552, 554, 560}) {
        SCOPED_TRACE(id);
        const QImage picture = PictureOf(id, kNormal);
        int left = picture.width(), right = -1, top = picture.height(), bottom = -1;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (IsWhite(picture.pixelColor(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(right, 0) << "no caption ink";
        EXPECT_NEAR(left, picture.width() - 1 - right, 3);
        EXPECT_NEAR(top, picture.height() - 1 - bottom, 3);
    }
}

TEST_F(ArtworkTest, ProgramIconIsARoundedTileInEverySize)
{
    for (const int size : Artwork::ProgramIconSizes()) {
        SCOPED_TRACE(size);
        const QImage icon = Artwork::ProgramIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
        EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
        EXPECT_EQ(icon.pixelColor(size - 1, size - 1).alpha(), 0);
        EXPECT_EQ(icon.pixelColor(size / 2, size / 8).alpha(), 255);
    }
    EXPECT_TRUE(Artwork::ProgramIcon(0).isNull());
    EXPECT_TRUE(Artwork::ProgramIcon(1025).isNull());
}

// Digits and Latin letters must come from the CJK face too, not from a fallback face.
TEST_F(ArtworkTest, FontsResolveToTheInstalledCjkFacesForEveryCharacter)
{
    const struct {
        FontFace face;
        const char* family;
    } cases[] = {{FontFace::Kai, "AR PL UKai CN"}, {FontFace::Song, "AR PL UMing CN"}};
    for (const auto& [face, family] : cases) {
        SCOPED_TRACE(family);
        const QFont font = MakeFont(face, 20, 10, 700);
        EXPECT_EQ(QFontInfo(font).family(), QString::fromUtf8(family));
        EXPECT_EQ(QFontInfo(font).pixelSize(), 20);

        QTextLayout layout(QStringLiteral("VID&PID 2点 Jump"), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            EXPECT_EQ(run.rawFont().familyName(), QString::fromUtf8(family));
        }
    }
}

TEST_F(ArtworkTest, AWiderFontWidthWidensTheText)
{
    const QString text = QStringLiteral("设备信息");
    const qreal natural = QFontMetricsF(MakeFont(FontFace::Kai, 16)).horizontalAdvance(text);
    const qreal halfHeight = QFontMetricsF(MakeFont(FontFace::Kai, 16, 8)).horizontalAdvance(text);
    const qreal wider = QFontMetricsF(MakeFont(FontFace::Kai, 16, 9)).horizontalAdvance(text);
    EXPECT_NEAR(halfHeight, natural, 1.0);
    EXPECT_GT(wider, natural * 1.08);
}

}  // namespace
}  // namespace zorvane
