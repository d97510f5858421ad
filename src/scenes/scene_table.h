// The table of the program's scenes: for each its key, its number, its name,
// what it needs of the program's pair, how it steps, how it draws, its scale
// and what its readout says. The keyboard, the display callback and the
// page's readout, keys and link are all made from this one table; nothing
// else says which key is which scene. Not here: the scenes' drawing itself
// (scenes.h), the page's button labels (web/page/keys.js, which must stand
// before the program runs).
#pragma once

#include "pair/inputs/kind_traits.h"
#include "scenes/scene_readout.h"

// What a scene needs before it can be shown.
enum class SceneNeeds {
    nothing,       // scenes 1 to 6: the demonstration gear
    pair,          // a gear pair of any kind
    ringCutting,   // a pair whose kind has a ring cut by a pinion-type cutter
    planetarySet,  // a planetary set
};

struct Scene {
    char key;          // the key that chooses it; sceneKey while it shows
    int number;        // 1 to 13, as its title and the page number it
    const char* name;  // English, as the page's readout names it
    SceneNeeds needs;
    void (*step)();    // one step in directionKey's direction, drawing nothing
    void (*draw)();    // the scene as it stands
    // Window units per mm as the scene draws the model at the current
    // viewScale, from the same function its drawing uses: part 0; part 1 only
    // for a scene that draws two parts at their own scales (scene 13's two
    // teeth), else 0; 0 also where the scene draws nothing in mm (no pair).
    double (*scale)(int part);
    const char* parts[2];  // what parts 0 and 1 are, or nullptr for one scale
    const SceneReadout* readout;  // what the readout says of its own state
};

constexpr int sceneCount = 13;

// Every scene, in the order of their numbers: scene n at index n - 1.
const Scene* scenes();

// The scene key `key` chooses, or nullptr.
const Scene* sceneOfKey(char key);

// Whether a pair of kind `kind` has what the scene needs (a scene that needs
// nothing or only a pair: always).
bool sceneFitsKind(const Scene& scene, PairKind kind);

// Whether the program can show the scene now: it needs nothing, or the
// program has a pair (pairScenesEnabled) whose kind fits it.
bool sceneOffered(const Scene& scene);
