// The table of scenes for the page, the number of the scene shown, and the
// text of its live readout and of its screen reader's sentence, as the
// program writes them (scenes/scene_readout.h); the page only shows them.
// Not here: the pair's numbers (pair_bridge.cpp).
#include <emscripten/emscripten.h>

#include <cstdio>

#include "app/state.h"
#include "scenes/scene_readout.h"
#include "scenes/scene_table.h"

namespace {

// The words of SceneNeeds, in its order.
constexpr const char* needsWords[] = {"nothing", "pair", "ring", "set"};

}  // namespace

extern "C" {

// The table of scenes (scenes/scene_table.h) as a JSON array in the order of
// their numbers: key, number and needs ("nothing", "pair", "ring": a kind
// with a ring to cut, "set": a planetary set).
EMSCRIPTEN_KEEPALIVE const char* webScenes() {
    static char json[1024];
    if (json[0] == '\0') {
        int used = std::snprintf(json, sizeof json, "[");
        for (int i = 0; i < sceneCount; ++i) {
            const Scene& s = scenes()[i];
            used += std::snprintf(json + used, sizeof json - used, "%s{\"key\":\"%c\",\"number\":%d,\"needs\":\"%s\"}",
                                  i == 0 ? "" : ",", s.key, s.number, needsWords[static_cast<int>(s.needs)]);
        }
        std::snprintf(json + used, sizeof json - used, "]");
    }
    return json;
}

// The number of the scene shown, 1 to 13 (0 before the first).
EMSCRIPTEN_KEEPALIVE int webScene() {
    const Scene* scene = sceneOfKey(sceneKey);
    return scene != nullptr ? scene->number : 0;
}

// The readout's lines of the scene shown (scenes/scene_readout.h), its px
// being CSS px: cssPxPerWindowPx is the picture's CSS side over the 800-px
// window. Valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* webReadout(double cssPxPerWindowPx) {
    static char lines[1024];
    ReadoutText text{lines, sizeof lines, 0};
    writeReadout(text, cssPxPerWindowPx);
    return lines;
}

// The sentence a screen reader is told after `key` drew the scene shown.
// Valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* webAnnouncement(int key) {
    static char sentence[256];
    ReadoutText text{sentence, sizeof sentence, 0};
    writeAnnouncement(text, static_cast<char>(key));
    return sentence;
}

}  // extern "C"
