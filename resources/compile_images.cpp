// Turns the image resources (text art in resources/bitmaps, resources/icons
// and resources/cursors) into a C++ source holding their pixel tables, which
// the build compiles into the platform library. Run by the build:
//
//     compile_images OUTPUT.cpp IMAGE.txt...
//
// The folder an image file sits in gives its kind. An image file reads:
//
//     # Comment lines start with "#" (before the pixels only).
//     id 1                  resource id, 0 to 65535, unique within its kind
//     hotspot 7 7           cursors only: the pixel at the pointer's position
//     symbols 1             characters a symbol has (1 unless given, at most 4)
//     colour . none         a symbol for transparent pixels (icons, cursors)
//     colour # 000000       a symbol and its colour as RRGGBB
//     pixels                every following line is one row of symbols
//     ..##..
//
// Symbols are printable characters other than a blank, one a pixel; a
// picture with more colours than single characters comfortably name (a
// shaded one) takes two characters a symbol. All rows have the same length,
// which gives the image's width. Any fault names the file and line and fails
// the build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum class Kind { Bitmap, Icon, Cursor };

struct Image {
    Kind kind = Kind::Bitmap;
    std::string source;
    long id = -1;
    int hotX = 0;
    int hotY = 0;
    int width = 0;
    int height = 0;
    std::size_t symbolSize = 1;         // characters a pixel
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top-down
    std::vector<std::uint8_t> opaque;   // 1 opaque, 0 transparent
};

constexpr long kTransparent = -1;

struct Fault {
    std::string where;
    std::string message;
};

std::optional<Kind> KindOfFolder(const std::filesystem::path& file) {
    const std::string folder = file.parent_path().filename().string();
    if (folder == "bitmaps") {
        return Kind::Bitmap;
    }
    if (folder == "icons") {
        return Kind::Icon;
    }
    if (folder == "cursors") {
        return Kind::Cursor;
    }
    return std::nullopt;
}

std::string TrimEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

// Reads one header line into the image and the symbol table; an empty
// message means it was understood.
std::string ReadHeaderLine(const std::string& line, Image* image,
                           std::map<std::string, long>* symbols) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "id") {
        if (!(words >> image->id) || image->id < 0 || image->id > 65535) {
            return "the id must be a number from 0 to 65535";
        }
    } else if (key == "hotspot") {
        if (image->kind != Kind::Cursor) {
            return "only cursors have a hot spot";
        }
        if (!(words >> image->hotX >> image->hotY)) {
            return "a hot spot is two numbers, x and y";
        }
    } else if (key == "symbols") {
        if (!symbols->empty() || !(words >> image->symbolSize) || image->symbolSize < 1 ||
            image->symbolSize > 4) {
            return "a symbols line, before the colours, gives 1 to 4 characters a symbol";
        }
    } else if (key == "colour") {
        std::string symbol;
        std::string value;
        if (!(words >> symbol >> value) || symbol.size() != image->symbolSize) {
            return "a colour line is: colour SYMBOL RRGGBB (or none), the symbol " +
                   std::to_string(image->symbolSize) + " character(s) long";
        }
        if (value == "none") {
            if (image->kind == Kind::Bitmap) {
                return "bitmaps have no transparent pixels";
            }
            (*symbols)[symbol] = kTransparent;
        } else if (value.size() == 6 &&
                   value.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
            (*symbols)[symbol] = std::stol(value, nullptr, 16);
        } else {
            return "a colour is six hexadecimal digits RRGGBB";
        }
    } else {
        return "unknown line \"" + key + "\"";
    }
    std::string rest;
    return words >> rest ? "unexpected \"" + rest + "\"" : "";
}

std::string AddRow(const std::string& row, const std::map<std::string, long>& symbols,
                   Image* image) {
    const std::size_t size = image->symbolSize;
    const auto width = static_cast<int>(row.size() / size);
    if (row.size() % size != 0) {
        return "this row is not a whole number of " + std::to_string(size) + "-character symbols";
    }
    if (image->height > 0 && width != image->width) {
        return "this row is " + std::to_string(width) + " wide, the first " +
               std::to_string(image->width);
    }
    for (std::size_t at = 0; at < row.size(); at += size) {
        const std::string symbol = row.substr(at, size);
        const auto found = symbols.find(symbol);
        if (found == symbols.end()) {
            return "the symbol '" + symbol + "' has no colour line";
        }
        const bool transparent = found->second == kTransparent;
        image->pixels.push_back(transparent ? 0 : static_cast<std::uint32_t>(found->second));
        image->opaque.push_back(transparent ? 0 : 1);
    }
    image->width = width;
    ++image->height;
    return "";
}

std::string CheckComplete(const Image& image) {
    if (image.id < 0) {
        return "no id line";
    }
    if (image.height == 0 || image.width == 0) {
        return "no pixels";
    }
    if (image.hotX < 0 || image.hotY < 0 || image.hotX >= image.width ||
        image.hotY >= image.height) {
        return "the hot spot lies outside the image";
    }
    return "";
}

std::optional<Fault> ReadImage(const std::filesystem::path& file, Kind kind, Image* image) {
    std::ifstream in(file);
    if (!in) {
        return Fault{file.string(), "cannot be read"};
    }
    image->kind = kind;
    image->source = file.filename().string();
    std::map<std::string, long> symbols;
    bool inPixels = false;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = TrimEnd(line);
        std::string message;
        if (inPixels) {
            message = line.empty() ? "" : AddRow(line, symbols, image);
        } else if (line == "pixels") {
            inPixels = true;
        } else if (!line.empty() && line[0] != '#') {
            message = ReadHeaderLine(line, image, &symbols);
        }
        if (!message.empty()) {
            return Fault{file.string() + ":" + std::to_string(number), message};
        }
    }
    if (const std::string message = CheckComplete(*image); !message.empty()) {
        return Fault{file.string(), message};
    }
    return std::nullopt;
}

// Colours as 0xRRGGBB, eight a line; mask bytes as 0 or 1, one image row a line.
void WriteArray(std::ostream& out, const char* type, const std::string& name, const auto& values,
                int width) {
    const bool colours = sizeof(values[0]) > 1;
    const std::size_t perLine = colours ? 8 : static_cast<std::size_t>(width);
    out << "constexpr " << type << ' ' << name << "[] = {";
    char text[16];
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::snprintf(text, sizeof text, colours ? "0x%06X," : "%u,",
                      static_cast<unsigned>(values[i]));
        out << (i % perLine == 0 ? "\n    " : " ") << text;
    }
    out << "\n};\n";
}

// The pixel arrays of one kind, then its table and the function that gives it.
void WriteKind(std::ostream& out, const std::vector<Image>& images, Kind kind,
               const char* recordType, const std::string& prefix) {
    std::vector<const Image*> chosen;
    for (const Image& image : images) {
        if (image.kind == kind) {
            chosen.push_back(&image);
        }
    }
    const bool masked = kind != Kind::Bitmap;
    out << "namespace {\n\n";
    for (const Image* image : chosen) {
        const std::string name = prefix + std::to_string(image->id);
        out << "// " << image->source << "\n";
        WriteArray(out, "std::uint32_t", "k" + name + "Pixels", image->pixels, image->width);
        if (masked) {
            WriteArray(out, "std::uint8_t", "k" + name + "Opaque", image->opaque, image->width);
        }
    }
    if (!chosen.empty()) {
        out << "constexpr " << recordType << " k" << prefix << "[] = {\n";
        for (const Image* image : chosen) {
            const std::string name = "k" + prefix + std::to_string(image->id);
            out << "    {" << image->id << ", " << image->width << ", " << image->height << ", ";
            if (masked) {
                out << image->hotX << ", " << image->hotY << ", " << name << "Pixels, " << name
                    << "Opaque},\n";
            } else {
                out << name << "Pixels},\n";
            }
        }
        out << "};\n";
    }
    out << "\n}  // namespace\n\n";
    out << "const " << recordType << "* JCompiled" << prefix << "(std::size_t* count) {\n";
    if (chosen.empty()) {
        out << "    *count = 0;\n    return nullptr;\n}\n\n";
    } else {
        out << "    *count = std::size(k" << prefix << ");\n    return k" << prefix << ";\n}\n\n";
    }
}

std::optional<Fault> FindDuplicate(const std::vector<Image>& images) {
    for (std::size_t i = 1; i < images.size(); ++i) {
        if (images[i].kind == images[i - 1].kind && images[i].id == images[i - 1].id) {
            return Fault{images[i].source, "has the same id as " + images[i - 1].source + " (" +
                                               std::to_string(images[i].id) + ")"};
        }
    }
    return std::nullopt;
}

bool WriteSource(const char* path, const std::vector<Image>& images) {
    std::ostringstream out;
    out << "// Made by compile_images from the files in resources/bitmaps, resources/icons\n"
           "// and resources/cursors. Do not edit: change those files instead.\n"
           "#include <iterator>\n\n"
           "#include \"framework/platform/draw/resource_images.h\"\n\n";
    WriteKind(out, images, Kind::Bitmap, "JBitmapResource", "Bitmaps");
    WriteKind(out, images, Kind::Icon, "JMaskedImageResource", "Icons");
    WriteKind(out, images, Kind::Cursor, "JMaskedImageResource", "Cursors");
    std::ofstream file(path, std::ios::binary);
    file << out.str();
    return static_cast<bool>(file);
}

int Fail(const Fault& fault) {
    std::fprintf(stderr, "%s: %s\n", fault.where.c_str(), fault.message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: compile_images OUTPUT.cpp IMAGE.txt...\n");
        return 2;
    }
    std::vector<Image> images;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path file(argv[i]);
        const std::optional<Kind> kind = KindOfFolder(file);
        if (!kind) {
            return Fail({file.string(), "is not in a bitmaps, icons or cursors folder"});
        }
        Image image;
        if (const std::optional<Fault> fault = ReadImage(file, *kind, &image)) {
            return Fail(*fault);
        }
        images.push_back(std::move(image));
    }
    std::sort(images.begin(), images.end(), [](const Image& a, const Image& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.id < b.id;
    });
    if (const std::optional<Fault> fault = FindDuplicate(images)) {
        return Fail(*fault);
    }
    if (!WriteSource(argv[1], images)) {
        return Fail({argv[1], "cannot be written"});
    }
    return 0;
}
