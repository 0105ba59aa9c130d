#include "SamplePicture.h"

#include "Failure.h"

#include <png.h>

#include <vector>

namespace cli
{
namespace
{
const int kWidth = 120;
const int kHeight = 160;

struct Colour
{
    unsigned char red, green, blue;
};

bool InEllipse(int x, int y, int centreX, int centreY, int radiusX, int radiusY)
{
    const double dx = double(x - centreX) / radiusX;
    const double dy = double(y - centreY) / radiusY;
    return dx * dx + dy * dy <= 1.0;
}

Colour PixelAt(int x, int y)
{
    if (InEllipse(x, y, kWidth / 2, 62, 27, 32))
        return Colour{236, 188, 150}; // face
    if (InEllipse(x, y, kWidth / 2, kHeight + 10, 52, 62))
        return Colour{52, 86, 140}; // shoulders
    const unsigned char shade = static_cast<unsigned char>(200 - 80 * y / kHeight);
    return Colour{static_cast<unsigned char>(shade / 2), shade, static_cast<unsigned char>(shade + 40)};
}
} // namespace

void WriteSamplePicture(const std::string& path)
{
    std::vector<unsigned char> pixels;
    pixels.reserve(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
    {
        for (int x = 0; x < kWidth; ++x)
        {
            const Colour colour = PixelAt(x, y);
            pixels.insert(pixels.end(), {colour.red, colour.green, colour.blue});
        }
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr))
        throw Failure("cannot write the sample picture " + path + ": " + image.message);
}
} // namespace cli
