// Whole frames, pixel for pixel, against the reviewed pictures of the real
// program in tests/reference (made by scripts/render-references.sh). Both
// take their key sequences from tests/reference/frames.txt.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <sstream>
#include <string>
#include <vector>

#include "app/keyboard.h"
#include "app/options.h"
#include "app/pair_state.h"
#include "scenes/display.h"
#include "support/gl_window.h"

namespace {

const std::string referenceDir = INVOLUTE_REFERENCE_DIR;

struct Reference {
    std::string name;
    bool hasPair = false;  // started with pair options
    PairInput pair;        // what they give, the omitted ones at their defaults
    std::string keys;      // one character per press, in order
    std::string error;     // what is wrong with the manifest line, if anything
};

void PrintTo(const Reference& reference, std::ostream* out) { *out << reference.name; }

std::vector<Reference> readManifest() {
    std::vector<Reference> references;
    std::ifstream in(referenceDir + "/frames.txt");
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        Reference reference;
        if (!(words >> reference.name) || reference.name[0] == '#') {
            continue;
        }
        std::vector<std::string> arguments{"involute-gears"};  // the options, for the program's own parser
        for (std::string token; words >> token;) {
            if (token.size() > 2 && token.compare(0, 2, "--") == 0) {
                std::string value;
                if (!(words >> value)) {
                    reference.error = "frames.txt line " + std::to_string(number) + ": no value for " + token;
                }
                arguments.push_back(token);
                arguments.push_back(value);
                continue;
            }
            // "k" is one press of k, "k*N" N presses.
            const int count = token.size() == 1 ? 1 : token[1] == '*' ? std::atoi(token.c_str() + 2) : 0;
            if (count < 1) {
                reference.error = "frames.txt line " + std::to_string(number) + ": bad key token " + token;
            }
            reference.keys.append(static_cast<size_t>(std::max(count, 0)), token[0]);
        }
        if (arguments.size() > 1) {
            std::vector<char*> argv;
            for (std::string& argument : arguments) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            int argc = static_cast<int>(arguments.size());
            ProgramOptions options;
            std::string message;
            if (!readProgramOptions(&argc, argv.data(), options, message) || argc != 1) {
                reference.error = "frames.txt line " + std::to_string(number) + ": " + message;
            }
            reference.hasPair = options.hasPair;
            reference.pair = options.pair;
        }
        references.push_back(reference);
    }
    return references;
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // rows top-down, as in the file
};

bool readPng(const std::string& path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

void writePng(const std::string& path, const Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    png_image_write_to_file(&image, path.c_str(), 0, picture.rgb.data(), 0, nullptr);
}

Picture topDown(const Frame& frame) {
    Picture picture{frame.width, frame.height, {}};
    for (int y = frame.height - 1; y >= 0; --y) {
        picture.rgb.insert(picture.rgb.end(), frame.at(0, y), frame.at(0, y) + 3 * frame.width);
    }
    return picture;
}

std::string hex(const unsigned char* p) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", p[0], p[1], p[2]);
    return text;
}

// Empty when the frame equals the reference. Otherwise says how many pixels
// differ and the first of them, and leaves the frame and a difference image
// (the reference faded, differing pixels magenta) in reference-frames/ under
// the working directory.
std::string difference(const Picture& expected, const Frame& frame, const std::string& name) {
    const Picture actual = topDown(frame);
    if (actual.width != expected.width || actual.height != expected.height) {
        return name + ": frame is " + std::to_string(actual.width) + " x " + std::to_string(actual.height) +
               ", reference " + std::to_string(expected.width) + " x " + std::to_string(expected.height);
    }
    if (actual.rgb == expected.rgb) {
        return std::string();
    }
    Picture diff = expected;
    size_t count = 0;
    size_t first = 0;
    for (size_t i = 0; i < actual.rgb.size(); i += 3) {
        const bool same = std::equal(&actual.rgb[i], &actual.rgb[i] + 3, &expected.rgb[i]);
        for (size_t c = 0; c < 3; ++c) {
            diff.rgb[i + c] = same ? static_cast<unsigned char>(191 + expected.rgb[i + c] / 4) : (c == 1 ? 0 : 255);
        }
        if (!same && count++ == 0) {
            first = i / 3;
        }
    }
    const std::filesystem::path dir = std::filesystem::absolute("reference-frames");
    std::filesystem::create_directories(dir);
    const std::string framePath = (dir / (name + ".png")).string();
    const std::string diffPath = (dir / (name + "-diff.png")).string();
    writePng(framePath, actual);
    writePng(diffPath, diff);
    const int x = static_cast<int>(first % static_cast<size_t>(actual.width));
    const int y = static_cast<int>(first / static_cast<size_t>(actual.width));
    return name + ": " + std::to_string(count) + " pixels differ from the reference; the first at x " +
           std::to_string(x) + ", y " + std::to_string(y) + " from the top left is " + hex(&actual.rgb[3 * first]) +
           ", reference " + hex(&expected.rgb[3 * first]) + ".\n  frame: " + framePath +
           "\n  differences (magenta): " + diffPath;
}

// The program from its start, with its pair if it has one: its first frame,
// then the keys.
Frame replay(const Reference& reference) {
    restartProgram();
    pairScenesEnabled = reference.hasPair;
    if (reference.hasPair) {
        setActivePair(reference.pair);
    }
    display();  // what GLUT draws when the window first appears
    for (char key : reference.keys) {
        keyboard(static_cast<unsigned char>(key), 0, 0);
    }
    return readFrame();
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string testName(const ::testing::TestParamInfo<Reference>& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

class ReferenceFrame : public ::testing::TestWithParam<Reference> {
protected:
    void SetUp() override {
        openTestWindow();
        ASSERT_TRUE(GetParam().error.empty()) << GetParam().error;
        ASSERT_TRUE(readPng(referenceDir + "/" + GetParam().name + ".png", expected)) << GetParam().name;
    }
    Picture expected;
};

std::string heldKeys(const std::string& name) {
    return endsWith(name, "-end") ? "ssdd" : endsWith(name, "-zero") ? "DDDD" : "";
}

// In the order of frames.txt, whose first line is the program's first frame:
// the first frame this process draws, as in the real program. At either end
// of the involute table (names ending in -end and -zero) auto-repeat runs on,
// s and d at the last index, D at index 0, and must redraw exactly the same
// picture frame after frame.
TEST_P(ReferenceFrame, MatchesThePicture) {
    const std::string failure = difference(expected, replay(GetParam()), GetParam().name);
    ASSERT_TRUE(failure.empty()) << failure;
    const std::string held = heldKeys(GetParam().name);
    for (size_t n = 0; n < held.size(); ++n) {
        keyboard(static_cast<unsigned char>(held[n]), 0, 0);
        const std::string name = GetParam().name + "-held-" + std::to_string(n + 1);
        const std::string heldFailure = difference(expected, readFrame(), name);
        ASSERT_TRUE(heldFailure.empty()) << heldFailure;
    }
}

INSTANTIATE_TEST_SUITE_P(Manifest, ReferenceFrame, ::testing::ValuesIn(readManifest()), testName);

TEST(Manifest, HoldsBothEndsOfTheTableForScenes1To3) {
    std::string ends;
    for (const Reference& reference : readManifest()) {
        ends += heldKeys(reference.name).empty() ? "" : reference.name + " ";
    }
    EXPECT_EQ(ends, "scene1-end scene1-zero scene2-end scene2-zero scene3-end scene3-zero ");
}

}  // namespace
