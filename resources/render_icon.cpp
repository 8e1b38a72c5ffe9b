// Draws the program's icon from its shape description (resources/desktop/
// pindle_icon.txt) at any size, with soft edges: as a PNG file for the
// desktop's icon theme, or as a C++ table of pixels that the desktop backend
// gives its window. Run by the build:
//
//     render_icon ICON.txt png SIZE OUTPUT.png
//     render_icon ICON.txt table SIZE OUTPUT.cpp
//
// An icon file reads, one statement a line, "#" starting a comment:
//
//     canvas 256                            the units the shapes are given in
//     rect LEFT TOP RIGHT BOTTOM COLOUR [COLOUR]
//     rounded LEFT TOP RIGHT BOTTOM RADIUS COLOUR [COLOUR]
//     circle X Y RADIUS COLOUR [COLOUR]
//     polygon COLOUR [COLOUR] : X Y X Y X Y...
//     pixels SIZE FILE                      this size drawn pixel by pixel
//
// Colours are RRGGBB or RRGGBBAA; a second colour makes the shape shade
// from the first at its top to the second at its bottom. Later shapes cover
// earlier ones. Each pixel is the average of a grid of samples, so edges are
// smooth at every size; rectangles are moved to whole pixels to stay crisp.
// Where shapes cannot be crisp, at the smallest sizes, a size may come from
// a hand-drawn image instead: FILE (relative to the icon file) is text art
// as compile_images reads it, of SIZE by SIZE pixels, "none" marking the
// transparent ones. Any fault names the file and line and fails the build.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Colour {
    double red = 0;  // 0 to 1, not premultiplied
    double green = 0;
    double blue = 0;
    double alpha = 1;
};

enum class ShapeKind { Rect, Rounded, Circle, Polygon };

struct Point {
    double x = 0;
    double y = 0;
};

struct Shape {
    ShapeKind kind = ShapeKind::Rect;
    double left = 0;  // the bounds, for every kind; the shading runs top to bottom
    double top = 0;
    double right = 0;
    double bottom = 0;
    double radius = 0;          // rounded corners and circles
    std::vector<Point> points;  // polygons
    Colour topColour;
    Colour bottomColour;
};

struct Icon {
    double canvas = 0;
    std::vector<Shape> shapes;
    std::map<int, std::filesystem::path> handDrawn;  // by size
};

std::optional<Colour> ParseColour(const std::string& text) {
    if ((text.size() != 6 && text.size() != 8) ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return std::nullopt;
    }
    const unsigned long value = std::stoul(text, nullptr, 16);
    const unsigned long rgb = text.size() == 8 ? value >> 8 : value;
    Colour colour;
    colour.red = static_cast<double>((rgb >> 16) & 0xFF) / 255;
    colour.green = static_cast<double>((rgb >> 8) & 0xFF) / 255;
    colour.blue = static_cast<double>(rgb & 0xFF) / 255;
    colour.alpha = text.size() == 8 ? static_cast<double>(value & 0xFF) / 255 : 1;
    return colour;
}

// One or two colours, up to a ":" or the end; the second defaults to the
// first.
std::string ReadColours(std::istringstream& words, Shape* shape) {
    std::vector<Colour> colours;
    std::string word;
    while (colours.size() < 2 && words >> std::ws && words.peek() != ':' && words >> word) {
        const std::optional<Colour> colour = ParseColour(word);
        if (!colour) {
            return "a colour is RRGGBB or RRGGBBAA, not \"" + word + "\"";
        }
        colours.push_back(*colour);
    }
    if (colours.empty()) {
        return "a colour is missing";
    }
    shape->topColour = colours.front();
    shape->bottomColour = colours.back();
    return "";
}

std::string ReadPolygon(std::istringstream& words, Shape* shape) {
    if (std::string message = ReadColours(words, shape); !message.empty()) {
        return message;
    }
    std::string colon;
    if (!(words >> colon) || colon != ":") {
        return "a polygon's points follow a \":\"";
    }
    Point point;
    while (words >> point.x >> point.y) {
        shape->points.push_back(point);
    }
    if (!words.eof() || shape->points.size() < 3) {
        return "a polygon needs three or more points, each two numbers";
    }
    auto [left, right] =
        std::minmax_element(shape->points.begin(), shape->points.end(),
                            [](const Point& a, const Point& b) { return a.x < b.x; });
    auto [top, bottom] =
        std::minmax_element(shape->points.begin(), shape->points.end(),
                            [](const Point& a, const Point& b) { return a.y < b.y; });
    shape->left = left->x;
    shape->right = right->x;
    shape->top = top->y;
    shape->bottom = bottom->y;
    return "";
}

// Reads one statement; an empty message means it was understood.
std::string ReadStatement(const std::string& line, Icon* icon) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    Shape shape;
    std::string message;
    if (key == "canvas") {
        if (!(words >> icon->canvas) || icon->canvas <= 0) {
            return "the canvas is one positive number";
        }
    } else if (key == "rect" || key == "rounded") {
        shape.kind = key == "rect" ? ShapeKind::Rect : ShapeKind::Rounded;
        if (!(words >> shape.left >> shape.top >> shape.right >> shape.bottom) ||
            (shape.kind == ShapeKind::Rounded && !(words >> shape.radius))) {
            return key + " needs its corners" + (key == "rect" ? "" : " and radius");
        }
        message = ReadColours(words, &shape);
    } else if (key == "circle") {
        double x = 0;
        double y = 0;
        if (!(words >> x >> y >> shape.radius)) {
            return "a circle is its centre and radius";
        }
        shape.kind = ShapeKind::Circle;
        shape.left = x - shape.radius;
        shape.right = x + shape.radius;
        shape.top = y - shape.radius;
        shape.bottom = y + shape.radius;
        message = ReadColours(words, &shape);
    } else if (key == "polygon") {
        shape.kind = ShapeKind::Polygon;
        message = ReadPolygon(words, &shape);
    } else if (key == "pixels") {
        int size = 0;
        std::string file;
        if (!(words >> size >> file) || size < 1) {
            return "a pixels line is: pixels SIZE FILE";
        }
        icon->handDrawn[size] = file;
    } else {
        return "unknown statement \"" + key + "\"";
    }
    if (!message.empty()) {
        return message;
    }
    if (key != "canvas" && key != "pixels") {
        icon->shapes.push_back(std::move(shape));
    }
    std::string rest;
    return words >> rest ? "unexpected \"" + rest + "\"" : "";
}

bool ReadIcon(const std::filesystem::path& path, Icon* icon) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        if (const std::string message = ReadStatement(line, icon); !message.empty()) {
            std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), number, message.c_str());
            return false;
        }
    }
    if (icon->canvas <= 0 || icon->shapes.empty()) {
        std::fprintf(stderr, "%s: needs a canvas line and at least one shape\n", path.c_str());
        return false;
    }
    for (auto& [size, file] : icon->handDrawn) {
        file = path.parent_path() / file;
    }
    return true;
}

bool InsidePolygon(const std::vector<Point>& points, double x, double y) {
    bool inside = false;  // even-odd rule
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

bool Inside(const Shape& shape, double x, double y) {
    if (x < shape.left || x >= shape.right || y < shape.top || y >= shape.bottom) {
        return false;
    }
    switch (shape.kind) {
        case ShapeKind::Rect:
            return true;
        case ShapeKind::Rounded: {
            // Outside the rectangle shrunk by the radius only the corner
            // circles count.
            const double dx =
                std::max({shape.left + shape.radius - x, 0.0, x - (shape.right - shape.radius)});
            const double dy =
                std::max({shape.top + shape.radius - y, 0.0, y - (shape.bottom - shape.radius)});
            return dx * dx + dy * dy <= shape.radius * shape.radius;
        }
        case ShapeKind::Circle: {
            const double dx = x - (shape.left + shape.radius);
            const double dy = y - (shape.top + shape.radius);
            return dx * dx + dy * dy <= shape.radius * shape.radius;
        }
        case ShapeKind::Polygon:
            return InsidePolygon(shape.points, x, y);
    }
    return false;
}

Colour ShadeAt(const Shape& shape, double y) {
    const double height = shape.bottom - shape.top;
    const double t = height > 0 ? std::clamp((y - shape.top) / height, 0.0, 1.0) : 0.0;
    const Colour& a = shape.topColour;
    const Colour& b = shape.bottomColour;
    return Colour{a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
                  a.blue + (b.blue - a.blue) * t, a.alpha + (b.alpha - a.alpha) * t};
}

// Every shape over the point, back to front, the "over" operator in
// premultiplied colour.
Colour SampleAt(const Icon& icon, double x, double y) {
    Colour sum{0, 0, 0, 0};
    for (const Shape& shape : icon.shapes) {
        if (!Inside(shape, x, y)) {
            continue;
        }
        const Colour c = ShadeAt(shape, y);
        sum.red = c.red * c.alpha + sum.red * (1 - c.alpha);
        sum.green = c.green * c.alpha + sum.green * (1 - c.alpha);
        sum.blue = c.blue * c.alpha + sum.blue * (1 - c.alpha);
        sum.alpha = c.alpha + sum.alpha * (1 - c.alpha);
    }
    return sum;
}

// Puts a rectangle's edge on the nearest pixel boundary; a half pixel goes
// towards the centre, so that shapes placed symmetrically stay symmetric.
double SnapToPixel(double units, double unitsPerPixel, int size) {
    if (size % 2 != 0) {  // the centre is no pixel boundary
        return std::round(units / unitsPerPixel) * unitsPerPixel;
    }
    const double centre = size / 2.0;
    const double pixels = units / unitsPerPixel;
    const double distance = std::ceil(std::abs(pixels - centre) - 0.5);
    return (pixels < centre ? centre - distance : centre + distance) * unitsPerPixel;
}

// Rectangles get crisp edges at every size; one too small to keep a whole
// pixel stays as drawn.
Icon SnapRectangles(const Icon& icon, int size) {
    Icon snapped = icon;
    const double unit = icon.canvas / size;
    for (Shape& shape : snapped.shapes) {
        if (shape.kind != ShapeKind::Rect) {
            continue;
        }
        Shape moved = shape;
        moved.left = SnapToPixel(shape.left, unit, size);
        moved.right = SnapToPixel(shape.right, unit, size);
        moved.top = SnapToPixel(shape.top, unit, size);
        moved.bottom = SnapToPixel(shape.bottom, unit, size);
        if (moved.left < moved.right && moved.top < moved.bottom) {
            shape = moved;
        }
    }
    return snapped;
}

// Rows top-down of 0xAARRGGBB words.
std::vector<std::uint32_t> Render(const Icon& drawn, int size) {
    const Icon icon = SnapRectangles(drawn, size);
    // Small sizes get more samples a pixel: about a thousand across in all.
    const int grid = std::max(4, 1024 / size);
    const double unit = icon.canvas / size;
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(size) * size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Colour sum{0, 0, 0, 0};
            for (int sy = 0; sy < grid; ++sy) {
                for (int sx = 0; sx < grid; ++sx) {
                    const Colour c = SampleAt(icon, (px + (sx + 0.5) / grid) * unit,
                                              (py + (sy + 0.5) / grid) * unit);
                    sum.red += c.red;
                    sum.green += c.green;
                    sum.blue += c.blue;
                    sum.alpha += c.alpha;
                }
            }
            const double samples = static_cast<double>(grid) * grid;
            const double alpha = sum.alpha / samples;
            auto byte = [](double value) {
                return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
            };
            // Colours leave the premultiplied form: divided by the alpha.
            auto channel = [&](double premultiplied) {
                return byte(alpha > 0 ? premultiplied / samples / alpha : 0);
            };
            pixels.push_back(byte(alpha) << 24 | channel(sum.red) << 16 | channel(sum.green) << 8 |
                             channel(sum.blue));
        }
    }
    return pixels;
}

// A size drawn pixel by pixel, as 0xAARRGGBB words; empty after a fault,
// which is reported.
std::vector<std::uint32_t> ReadHandDrawn(const std::filesystem::path& path, int size) {
    std::ifstream in(path);
    std::map<char, std::uint32_t> symbols;
    std::vector<std::uint32_t> pixels;
    bool inPixels = false;
    std::string line;
    std::string fault = in ? "" : "cannot be read";
    int number = 1;
    for (; fault.empty() && std::getline(in, line); ++number) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        std::istringstream words(line);
        std::string key;
        std::string symbol;
        std::string value;
        if (inPixels) {
            if (static_cast<int>(line.size()) != size) {
                fault = "a row must be " + std::to_string(size) + " pixels wide";
            }
            for (char c : line) {
                const auto found = symbols.find(c);
                if (found == symbols.end()) {
                    fault = std::string("the symbol '") + c + "' has no colour line";
                    break;
                }
                pixels.push_back(found->second);
            }
        } else if (line == "pixels") {
            inPixels = true;
        } else if (line.empty() || line[0] == '#' || (words >> key && key == "id")) {
            continue;
        } else if (key == "colour" && words >> symbol >> value && symbol.size() == 1) {
            const std::optional<Colour> colour = ParseColour(value);
            if (value == "none") {
                symbols[symbol[0]] = 0;
            } else if (colour && value.size() == 6) {
                symbols[symbol[0]] = 0xFF000000u | std::stoul(value, nullptr, 16);
            } else {
                fault = "a colour is RRGGBB or none";
            }
        } else {
            fault = "unknown line \"" + line + "\"";
        }
    }
    if (fault.empty() && pixels.size() != static_cast<std::size_t>(size) * size) {
        fault = "must be " + std::to_string(size) + " by " + std::to_string(size) + " pixels";
        number = 0;
    }
    if (!fault.empty()) {
        const std::string where =
            path.string() + (number > 1 ? ":" + std::to_string(number - 1) : "");
        std::fprintf(stderr, "%s: %s\n", where.c_str(), fault.c_str());
        pixels.clear();
    }
    return pixels;
}

bool WritePng(const std::vector<std::uint32_t>& pixels, int size, const char* path) {
    std::vector<png_byte> rgba;
    rgba.reserve(pixels.size() * 4);
    for (std::uint32_t pixel : pixels) {
        rgba.push_back(static_cast<png_byte>(pixel >> 16));
        rgba.push_back(static_cast<png_byte>(pixel >> 8));
        rgba.push_back(static_cast<png_byte>(pixel));
        rgba.push_back(static_cast<png_byte>(pixel >> 24));
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGBA;
    const bool written = png_image_write_to_file(&image, path, 0, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written;
}

bool WriteTable(const std::vector<std::uint32_t>& pixels, int size, const char* path) {
    std::ostringstream out;
    out << "// Made by render_icon from resources/desktop/pindle_icon.txt. Do not edit:\n"
           "// change that file instead.\n"
           "#include \"framework/platform/draw/resource_images.h\"\n\n"
           "namespace {\n\nconstexpr std::uint32_t kPixels[] = {";
    char text[16];
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        std::snprintf(text, sizeof text, "0x%08X,", static_cast<unsigned>(pixels[i]));
        out << (i % 8 == 0 ? "\n    " : " ") << text;
    }
    out << "\n};\n\n}  // namespace\n\n"
        << "JProgramIcon JCompiledProgramIcon() {\n    return JProgramIcon{" << size << ", " << size
        << ", kPixels};\n}\n";
    std::ofstream file(path, std::ios::binary);
    file << out.str();
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string form = argc == 5 ? argv[2] : "";
    const int size = argc == 5 ? std::atoi(argv[3]) : 0;
    if ((form != "png" && form != "table") || size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: render_icon ICON.txt png|table SIZE OUTPUT\n");
        return 2;
    }
    Icon icon;
    if (!ReadIcon(argv[1], &icon)) {
        return 1;
    }
    const auto handDrawn = icon.handDrawn.find(size);
    const std::vector<std::uint32_t> pixels = handDrawn == icon.handDrawn.end()
                                                  ? Render(icon, size)
                                                  : ReadHandDrawn(handDrawn->second, size);
    if (pixels.empty()) {
        return 1;
    }
    const bool written =
        form == "png" ? WritePng(pixels, size, argv[4]) : WriteTable(pixels, size, argv[4]);
    if (!written) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[4]);
        return 1;
    }
    return 0;
}
