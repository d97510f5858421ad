// The link in the address bar: #teeth=Z1,Z2&module=M&angle=DEG&shift=X1,X2&scene=N,
// its keys and places taken from the Real gears panel's fields (the
// program's table of inputs), with
// kind=internal, kind=rack or kind=planetary first for those kinds (no kind:
// external), and only the fields the kind uses (a rack: teeth=Z1, shift=X1;
// a planetary set: teeth=ZS,ZP,ZR, planets=N, fixed=ring; a ring's cutter
// as cutter=ZC when one is asked for; with a centre distance, shift=X1
// when x1 is given, no shift when the program chooses both). A link is read
// as the command line reads the same options: the keys it leaves out are
// the kind's start values, whether it is read at start (the pair applied
// after the first frame) or typed or pasted into the address bar later;
// the program reads its keys with its option reader, and a key that does
// not fit the kind is refused in the command line's words. Written with
// replaceState (never a new history entry) once the pair or a pair scene
// has been chosen. Keys are matched without regard to case; an unknown key
// is named. A link the page refuses (a bad value, a pair the program
// cannot make, a key that does not fit, an unknown key, a scene of another
// kind) stays in the address bar as it was given until the user changes
// the pair or the scene; a good one is written out in full.
// Not here: the checks of the values (pair_panel.js).
"use strict";
var link = (function () {
  var linkError = document.getElementById("pair-link-error");
  // The link's keys in the order they are written, each with its fields:
  // made with the panel's fields, from the program's table of inputs.
  var linkKeys = [];
  var fieldsOf = {};
  var byName = {};
  function readKeys() {
    pairPanel.fields.forEach(function (field) {
      byName[field.name] = field;
      var key = field.link[0];
      if (!fieldsOf[key]) { fieldsOf[key] = []; linkKeys.push(key); }
      fieldsOf[key][field.link[1]] = field.name;
    });
  }

  function linkText() {
    var good = pairPanel.good();
    var parts = good.kind === "external" ? [] : ["kind=" + good.kind];
    linkKeys.forEach(function (key) {
      var names = fieldsOf[key].filter(function (name) { return pairPanel.uses(byName[name], good.kind); });
      // A value left out (null: a shift the program chooses) ends the list.
      var given = names.findIndex(function (name) { return good[name] === null; });
      if (given >= 0) names = names.slice(0, given);
      if (names.length === 0 || (byName[names[0]].optional && !good[names[0]])) return;
      parts.push(key + "=" + names.map(function (name) {
        var words = byName[name].words;  // a choice of words: its word
        return words ? words[good[name]] : good[name];
      }).join(","));
    });
    return "#" + parts.join("&") + "&scene=" + pairPanel.scene();
  }
  var written = location.hash;
  // A page opened without a link gets one at the first change of the pair
  // or the scene, not at the start.
  var linked = location.hash.length > 1;
  var held = false;  // a refused link, kept as given
  function writeLink() {
    if (held) return;
    linked = true;
    var text = linkText();
    if (text === location.hash) return;
    written = text;
    try {
      history.replaceState(history.state, "", text);
    } catch (e) {
      location.replace(text);  // only the fragment changes: no reload
    }
  }
  // Puts the link's values into the fields (bad ones too, to be seen and
  // corrected there), the keys it leaves out at their start, as the command
  // line's options left out; returns the scene asked for, or 0. The
  // program reads the link's keys as it reads the same options, and
  // refuses what does not fit the kind in the command line's words.
  function readLink() {
    var asked = 0;
    var problems = [];
    var unknown = [];
    var given = [];  // [key (small letters), value, key as written]
    var kind = "external";  // unless the link says otherwise
    location.hash.replace(/^#/, "").split("&").forEach(function (part) {
      if (part === "") return;
      var eq = part.indexOf("=");
      var key = eq < 0 ? part : part.slice(0, eq);
      try { key = decodeURIComponent(key); } catch (e) { /* named as written */ }
      var value = "";
      try { value = decodeURIComponent(eq < 0 ? "" : part.slice(eq + 1)); } catch (e) { value = part.slice(eq + 1); }
      given.push([key.toLowerCase(), value, key]);
      if (key.toLowerCase() === "kind") kind = value.toLowerCase();
    });
    if (!pairPanel.setKind(kind)) {
      var kindNames = pairPanel.kindNames();
      problems.push("kind must be " + kindNames.slice(0, -1).join(", ") + " or " + kindNames[kindNames.length - 1] +
                    " · kind は " + kindNames.join("、") + " のどれか");
      pairPanel.setKind(kind = "external");
    }
    pairPanel.fields.forEach(function (field) { pairPanel.setText(field.name, field.startTextOf(kind)); });
    var options = [["kind", kind]];
    given.forEach(function (g) {
      var key = g[0], value = g[1];
      if (fieldsOf.hasOwnProperty(key)) {
        var names = fieldsOf[key];
        var list = names.length > 1 ? value.split(",") : [value];
        for (var n = 0; n < names.length; n++) {
          pairPanel.setText(names[n], n < list.length ? list[n] : byName[names[n]].startTextOf(kind));
        }
        options.push([key, value]);
      } else if (key === "scene") {
        // The scenes are numbered 1 to their count.
        var count = program.scenes().length;
        if (/^[1-9]\d*$/.test(value) && value <= count) asked = Number(value);
        else problems.push("scene must be 1 to " + count + " · scene は 1〜" + count);
      } else if (key !== "kind") {
        unknown.push(g[2]);
      }
    });
    // A centre distance without the shifts: the program chooses them.
    if (pairPanel.centreGiven(kind) && !options.some(function (o) { return o[0] === byName.x1.link[0]; })) {
      pairPanel.setText("x1", "");
    }
    var misfit = program.readLink(options);
    if (misfit) problems.push(misfit);
    // A scene only other kinds have.
    var needs = pairPanel.kindsOffering(asked).map(function (k) { return "kind=" + k; });
    if (needs.length && needs.indexOf("kind=" + kind) < 0) {
      problems.push("scene " + asked + " needs " + needs.join(" or ") + " · scene " + asked + " は " + needs + " のときだけ");
    }
    if (unknown.length) {
      problems.push("unknown key " + unknown.map(function (k) { return "“" + k + "”"; }).join(", ") + " (the keys are " +
                    ["kind"].concat(linkKeys, ["scene"]).join(", ") + ") · 不明なキー " + unknown.join(", "));
    }
    linkError.textContent = problems.length ? "In the link: " + problems.join("; ") : "";
    linkRefused = problems.length > 0;
    return asked;
  }
  var linkRefused = false;  // the link itself has a problem (a bad scene, an unknown key)

  function chooseScene(asked) {
    if (asked && asked !== program.scene()) {
      // The page's own key path, as if the key had been typed.
      document.dispatchEvent(new KeyboardEvent("keydown", { key: keys.keyOf(asked), bubbles: true, cancelable: true }));
    }
  }

  var askedScene = 0;
  var askedSceneShown = false;
  var ready = false;  // the fields are made and the link read into them
  pairPanel.whenBuilt(function () {
    readKeys();
    askedScene = readLink();
    // The fields' messages at once; the pair goes to the program at the first frame.
    held = linked && (!pairPanel.apply(true) || linkRefused);
    ready = true;
  });

  // A link typed or pasted into the address bar while the page is open.
  window.addEventListener("hashchange", function () {
    if (!ready || location.hash === written) return;
    var asked = readLink();
    held = linkRefused;  // before the pair is applied, which writes a link not held
    held = !pairPanel.apply(true) || held;
    askedScene = asked;
    askedSceneShown = false;
    chooseScene(asked);
  });

  return {
    // A new pair in the program; atStart: the pair the page opened with,
    // which writes no link by itself. The user's own pair ends a hold.
    pairChanged: function (atStart) {
      if (!atStart) held = false;
      if (!atStart || linked) writeLink();
    },
    // The link follows the scene once there is one, or once a pair scene
    // is shown; the scene the link asked for does not end a hold, any
    // other scene does.
    sceneChanged: function () {
      var scene = pairPanel.scene();
      if (held && scene === askedScene && !askedSceneShown) askedSceneShown = true;
      else held = false;
      if (linked || scene >= 7) writeLink();
    },
    // After the first frame, with whether the link's pair was taken.
    firstFrame: function (taken) {
      if (linked && !taken) held = true;
      chooseScene(askedScene);
    }
  };
})();
