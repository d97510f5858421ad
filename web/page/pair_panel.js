// The "Real gears" panel (the pair of scenes 7 to 9): the kind of pair
// (external, internal, rack: radio buttons input[name="kind"]), its fields,
// made from the program's table of inputs and shown for the kinds that use
// them, their checks and messages, handing the pair to the program, the pair's numbers
// and warnings (#pair-readout; for an external pair also its effective
// contact ratio, backlash and inspection sizes), the plot of the specific sliding along the
// path of contact, scene 11's contact and its sliding, the scene notes of What to notice (scene 7's
// for the kind shown), button 9 enabled for internal pairs only, and the
// outlines' file save. The program is asked only once it runs
// (body[data-state] "running"); a change of the pair redraws a frame of
// scene 7, 8 or 9 on the spot, without a step and without counting a frame.
// Not here: the link in the address bar (link.js), the scene buttons (made
// and sent by keys.js).
"use strict";
var pairPanel = (function () {
  var body = document.body;
  var section = document.getElementById("real-gears");
  var form = document.getElementById("pair-form");
  var readout = document.getElementById("pair-readout");

  // The panel's fields, made from the program's own table of inputs
  // (program.pairInputs(): the command line's options come from the same
  // table), in the order program.setPair takes them (its refusal
  // codes 1, 2, … name them in this order); the inputs the page does not show
  // (no link key) are left out. name: the field's name; index: its place in
  // the program's table; byKind: its symbol, label, name in messages
  // (said, English and Japanese) and start in each kind of pair (a set's
  // z1 is its sun's, zS), the program's words; unit: its unit in the line
  // that names the pair shown; min, max: its range (multiples of the
  // module when perModule); start: the value an external pair starts with
  // (startText, startTextOf(kind): as the field shows it); link:
  // the link's key and the place in its comma-separated list; kinds: the
  // kinds of pair that use it; optional: an empty field stands for 0 (the
  // program's own choice). Made once the program has started, before the
  // panel is shown.
  var fields = [];
  var byName = {};
  var names = [];
  var built = false;
  var afterBuilt = [];
  function labelHtml(text) {  // "z_1 teeth": '_' makes the next character a subscript
    return text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/_(.)/g, "<sub>$1</sub>");
  }
  function readTable() {
    program.pairInputs().forEach(function (input, index) {
      if (input.link === null) return;
      var field = {
        name: input.name, index: index, unit: input.unit === "mm" ? " mm" : input.unit, min: input.lo, max: input.hi,
        whole: input.whole, perModule: input.perModule, optional: input.optional, loOpen: input.loOpen,
        start: input.optional && input.start === 0 ? "" : String(input.start), link: [input.link, input.slot],
        kinds: input.kinds, words: input.words ? input.words.split("|") : null, byKind: input.byKind
      };
      // What the field shows at the start: a choice of words its word.
      field.startText = field.words ? field.words[input.start] : field.start;
      // Each kind's start (a set's own teeth), as the field shows it.
      field.startTextOf = function (kind) {
        var start = input.byKind[kind] ? input.byKind[kind].start : input.start;
        return field.words ? field.words[start] : input.optional && start === 0 ? "" : String(start);
      };
      fields.push(field);
      byName[field.name] = field;
      names.push(field.name);
    });
  }
  // The kinds, in the order of the program's codes (program.setPair's kind),
  // from the program's table of kinds: value (the link's word), en, ja, keys
  // (the scene keys only that kind offers). Made with the fields.
  var kinds = [];
  function kindOf(value) { return kinds.filter(function (kind) { return kind.value === value; })[0]; }
  function uses(field, kind) { return !field.kinds || field.kinds.indexOf(kind) >= 0; }

  // <fieldset id="pair-kind"><legend/><label><input type="radio" name="kind"/>…</label>…</fieldset>
  // before the fields.
  var kindBox = document.createElement("fieldset");
  kindBox.id = "pair-kind";
  var legend = document.createElement("legend");
  legend.innerHTML = 'kind of pair <span lang="ja">歯車対の種類</span>';
  kindBox.appendChild(legend);
  var kindInputs = {};
  function makeKinds() {
    kinds = program.pairKinds().map(function (kind) { return { value: kind.name, en: kind.en, ja: kind.ja, keys: kind.keys }; });
    kinds.forEach(function (kind) {
      var label = document.createElement("label");
      var input = document.createElement("input");
      input.type = "radio";
      input.name = "kind";
      input.value = kind.value;
      input.checked = kind.value === "external";
      label.appendChild(input);
      label.appendChild(document.createTextNode(" " + kind.en + " "));
      var ja = document.createElement("span");
      ja.lang = "ja";
      ja.textContent = kind.ja;
      label.appendChild(ja);
      kindBox.appendChild(label);
      kindInputs[kind.value] = input;
    });
  }
  section.insertBefore(kindBox, form);
  function kindChosen() {
    for (var value in kindInputs) if (kindInputs[value].checked) return value;
    return "external";
  }

  // <div class="pair-field"><label/><input/><span class="pair-error"/></div> for each field.
  var inputs = {};
  var boxes = {};
  var labels = {};
  // The field's words in the kind shown (a set's z1 is its sun's, zS): the
  // program's, as its messages and --help say them.
  var shownKind = "external";
  function wordsOf(field) { return field.byKind[shownKind] || field.byKind.external; }
  function said(field) { return wordsOf(field).said; }
  function symbol(field) { return wordsOf(field).symbol; }
  function makeField(field) {
    var id = "pair-" + field.name;
    var box = document.createElement("div");
    box.className = "pair-field";
    var label = document.createElement("label");
    label.htmlFor = id;
    labels[field.name] = label;
    var input = document.createElement(field.words ? "select" : "input");
    input.id = id;
    input.name = field.name;
    if (field.words) {
      // A choice of the input's words (the hand, the member held still).
      field.words.forEach(function (word) {
        var option = document.createElement("option");
        option.value = option.textContent = word;
        input.appendChild(option);
      });
      input.value = field.startText;
    } else {
    // A text field with a numeric keyboard: it keeps what was typed or
    // linked, good or bad, as it was written, and the wheel changes nothing.
    // A field that takes negative values (the shifts) gets the full
    // keyboard: the decimal keypads of phones (iOS's among them) have no
    // minus sign.
    input.type = "text";
    input.inputMode = field.min < 0 ? "text" : field.whole ? "numeric" : "decimal";
    input.autocomplete = "off";
    input.spellcheck = false;
    input.value = field.startText;
    }
    input.setAttribute("aria-describedby", id + "-error");
    var error = document.createElement("span");
    error.id = id + "-error";
    error.className = "pair-error";
    error.setAttribute("role", "alert");
    box.appendChild(label);
    box.appendChild(input);
    box.appendChild(error);
    form.appendChild(box);
    inputs[field.name] = input;
    boxes[field.name] = box;
  }
  // Only the fields the kind uses are shown (and checked), labelled in the
  // kind's words.
  function showFieldsOf(kind) {
    shownKind = kind;
    fields.forEach(function (field) {
      boxes[field.name].hidden = !uses(field, kind);
      var words = wordsOf(field);
      labels[field.name].innerHTML = labelHtml(words.label) + ' <span lang="ja">' + words.labelJa + "</span>";
    });
    // With a centre distance x2 follows from it: x1 as given, or left empty
    // for the program to choose both (its choice shown in the empty field).
    var chosen = centreGiven(kind);
    inputs.x2.readOnly = chosen;
    if (!chosen && inputs.x1.value.trim() === "" && inputs.x1.placeholder) inputs.x1.value = inputs.x1.placeholder;
    if (!chosen) inputs.x1.placeholder = "";
  }
  function centreGiven(kind) { return uses(byName.centre, kind) && inputs.centre.value.trim() !== ""; }

  var good = { kind: "external" };  // the pair the program has
  // The scene keys only some kinds offer (9: a ring's cutting, p: a set
  // turning; the panel's buttons and their copies in the full-screen
  // strip): enabled for the kind of the pair the program has. Until the
  // kinds are known, the external pair's: none.
  function enableKindKeys() {
    var offered = kinds.length ? kindOf(good.kind).keys : "";
    keys.kindKeys().forEach(function (key) {
      var list = document.querySelectorAll('button[data-key="' + key + '"]');
      for (var i = 0; i < list.length; i++) list[i].disabled = offered.indexOf(key) < 0;
    });
  }
  enableKindKeys();
  var scene = 1;
  var started = false;  // the panel's pair is the program's
  var waiting = false;  // for the page to be shown, to start
  var shownLine = document.getElementById("pair-shown");

  function running() { return body.dataset.state === "running"; }

  // ---- Field values: a number in range (whole for the teeth), or a message.
  // The program reads the text and checks its range by the command line's
  // own rule, so the page refuses exactly what the command line refuses.
  function parse(name) {
    var field = byName[name];
    var text = inputs[name].value.trim();
    if (field.optional && text === "") return { value: 0 };
    // Beside a centre distance: x2 is the program's, x1 too when left out.
    if (centreGiven(shownKind) && (name === "x2" || (name === "x1" && text === ""))) return { value: null };
    var m = 0;
    if (field.perModule) {
      // The module's own message comes first when it is wrong, as on the
      // command line.
      var module = parse("module");
      if (module.error) return { value: 0 };
      m = module.value;
    }
    var value = program.readPairInput(field.index, text, m);
    if (value !== null) return { value: value };
    if (field.perModule || field.words) {
      var range = program.pairInputRange(field.index, m);
      // The same range in Japanese words: "0〜0.25 m（= 0.75 mm）", "right・left のどれか".
      var ja = field.words ? field.words.join("・") + " のどれか"
        : (field.loOpen ? field.min + " m より大きく " + field.max + " m 以下" : field.min + "〜" + field.max + " m") +
          (m > 0 ? "（= " + Number((field.max * m).toPrecision(6)) + " mm まで）" : "");
      return { error: symbol(field) + " must be " + range + " · " + said(field)[1] + " は " + ja };
    }
    var what = field.whole ? "a whole number from " : "a number from ";
    return { error: said(field)[0] + " must be " + what + field.min + " to " + field.max + " · " + said(field)[1] +
             " は " + field.min + "〜" + field.max + (field.whole ? " の整数" : " の数") };
  }
  function showError(name, text) {
    inputs[name].setAttribute("aria-invalid", text ? "true" : "false");
    document.getElementById("pair-" + name + "-error").textContent = text;
  }

  // ---- The pair: every field valid, then the program's own check (it
  // refuses pointed teeth too). The last good pair stays otherwise.
  // The fields as committed (Enter, or leaving a field): all good, then the
  // pair goes to the program; otherwise the messages, and nothing changes.
  // While a field holds a refused value, the panel says which pair the
  // picture and the numbers show. atStart: the pair the page opened with,
  // which writes no link by itself. Returns whether the fields' pair is
  // the program's now.
  function applyForm(atStart) {
    if (!built) return false;
    var ok = sendForm(atStart);
    showShown(!ok);
    return ok;
  }
  function sendForm(atStart) {
    var kind = kindChosen();
    showFieldsOf(kind);
    var values = { kind: kind };
    var errors = {};
    var bad = false;
    names.forEach(function (name) {
      if (!uses(byName[name], kind)) { values[name] = good[name]; return; }  // not used: as it was
      var result = parse(name);
      if (result.error) { errors[name] = result.error; bad = true; } else values[name] = result.value;
    });
    names.forEach(function (name) { if (!errors[name]) showError(name, ""); });
    if (bad) {
      names.forEach(function (name) { if (errors[name]) showError(name, errors[name]); });
      return false;
    }
    if (!started || !running()) return true;  // applied when the pair scenes start
    if (values.kind === good.kind && names.every(function (name) { return values[name] === good[name]; })) return true;
    var code;
    try {
      // The redraw for the new pair is not a frame (program.setPair).
      code = program.setPair(values, kinds.indexOf(kindOf(kind)));
    } catch (e) {
      // As a key that throws: said, and the controls switched off.
      page.fail("The program stopped with an error at the new pair (" + (e && e.message ? e.message : e) +
                "). Reload the page to start it again.");
      return false;
    }
    if (code !== 0) {
      // code - 1: the refused input's index in the program's table.
      var refused = fields.filter(function (field) { return field.index === code - 1; })[0] || fields[0];
      showError(refused.name, program.pairMessage() + " · " + refusedJa(refused.name));
      return false;
    }
    // A centre distance chooses x2 (and x1 when left out): the fields show
    // the choice, x1's in its empty field.
    if (values.centre && uses(byName.centre, kind)) {
      inputs.x2.value = program.pairShift(1).toFixed(4);
      inputs.x1.placeholder = values.x1 === null ? program.pairShift(0).toFixed(4) : "";
    }
    good = values;
    enableKindKeys();
    scene = program.scene();  // scene 9 gives way to 7 for a pair without a ring
    markScene();
    showNotes();
    showNumbers();
    link.pairChanged(atStart);
    return true;
  }
  function refusedJa(name) { return said(byName[name] || fields[0])[1] + " の値では歯車ができません"; }

  // "The picture shows z1 = 10, …": said while a field holds a refused value.
  function showShown(refused) {
    shownLine.hidden = !refused;
    if (!refused) return;
    var en = fields.filter(function (field) {
      return uses(field, good.kind) && !(field.optional && !good[field.name]) && good[field.name] !== null;
    }).map(function (field) {
        return symbol(field) + " = " + (field.words ? field.words[good[field.name]] : good[field.name]) + (field.unit || "");
      }).join(", ");
    say(shownLine, "The picture and the numbers show the last good pair: " + en,
        "図と数値は最後に受け付けた歯車対のものです");
  }

  // A value is taken when it is committed: Enter, or leaving the field (the
  // change event). Typing alone changes nothing, so no prefix of a number
  // ("4" and "40" of "401") is ever applied.
  // The kind, a choice rather than typing, is taken at once.
  section.addEventListener("input", function (e) {
    if (e.target.tagName === "INPUT" && e.target.name === "kind") applyForm(false);
  });
  section.addEventListener("change", function (e) {
    if (e.target.tagName === "INPUT" || e.target.tagName === "SELECT") applyForm(false);
  });
  form.addEventListener("submit", function (e) { e.preventDefault(); });
  section.addEventListener("keydown", function (e) {
    if (e.target.tagName !== "INPUT" && e.target.tagName !== "SELECT") return;
    if (e.key === "Enter") {
      e.preventDefault();
      applyForm(false);
    }
    // Typing in a field is typing, not the program's keys; only a clicker's
    // PageDown and PageUp go on to the program (the arrows move the caret).
    if (e.key !== "PageDown" && e.key !== "PageUp") e.stopPropagation();
  });


  // ---- The readout: the pair's numbers and warnings, and in scene 7 where
  // the contact points of the moment are on the path of contact.
  // A number to `digits` decimals (4 unless said); never "-0.0000".
  function f(value, digits) {
    var text = value.toFixed(digits === undefined ? 4 : digits);
    return /^-0\.?0*$/.test(text) ? text.slice(1) : text;
  }
  function line(parent, english, japanese, className) {
    var div = document.createElement("div");
    if (className) div.className = className;
    say(div, english, japanese);
    parent.appendChild(div);
  }
  function say(element, english, japanese) {
    element.textContent = english;
    var ja = document.createElement("span");
    ja.lang = "ja";
    ja.textContent = " · " + japanese;
    element.appendChild(ja);
  }
  // The warnings of one mesh as the program's report gives them (its lines
  // of kind "warning", in both languages), those with an identifier in
  // `skip` left out; false when there are some.
  function warningLines(box, report, skip) {
    var shown = report.filter(function (l) { return l.kind === "warning" && skip.indexOf(l.id) < 0; });
    shown.forEach(function (l) { line(box, "⚠ " + l.en, l.ja, "warning"); });
    // Where a clipped involute begins, said with the interference.
    report.forEach(function (l) { if (l.id === "involuteStart" && shown.length) line(box, l.en, l.ja, "warning"); });
    return shown.length === 0;
  }
  // The report's line of `symbol` (its first), or null.
  function reportLine(report, symbol) {
    return report.filter(function (l) { return l.symbol === symbol; })[0] || null;
  }
  // The numbers and warnings: once per pair. A planetary set: its own
  // numbers, then its sun–planet mesh's (the pair the program's numbers
  // are of), then its planet–ring mesh's.
  var contactLine = document.createElement("div");
  var gearNames = [{ en: "gear 1", ja: "歯車1" }, { en: "gear 2", ja: "歯車2" }];
  var sunPlanetNames = [{ en: "sun", ja: "太陽歯車" }, { en: "planet", ja: "遊星歯車" }];
  function showNumbers() {
    var n = program.pairNumbers();
    var gears = n.gears;
    var box = document.createDocumentFragment();
    var rack = good.kind === "rack";
    var set = program.setNumbers();
    var external = good.kind === "external" || set !== null;
    var names = set ? sunPlanetNames : gearNames;
    var report = program.pairReport(0);
    if (set) {
      line(box, "zS = " + set.zS + ", zP = " + set.zP + ", zR = " + set.zR + ", N = " + set.planets +
           " planets; the " + set.fixed + " held still", "遊星歯車装置（" + set.fixedJa + "を固定）");
      line(box, "i   = " + f(set.ratio) + " ratio, the " + set.input + " in, the " + set.output + " out" +
           (set.ratio < 0 ? ", the other way round" : ", the same way round"),
           "速比（" + set.inputJa + "から入れ、" + set.outputJa + "から出す）");
      line(box, "a   = " + f(set.a) + " mm centre distance of both meshes", "中心距離（両方のかみ合い）");
      line(box, "xS  = " + f(set.xS) + ", xP = " + f(set.xP) + ", xR = " + f(set.xR) + " shifts, xR solved for a",
           "転位係数（xR は a から）");
      line(box, "l   = " + f(set.l) + " mm between neighbouring planets' centres, daP = " + f(set.daP) +
           " mm the planets' tip diameter", "遊星歯車の中心間距離と歯先円直径");
      line(box, "sun–planet mesh:", "太陽歯車と遊星歯車のかみ合い", "mesh-head");
    }
    // The effective contact ratio on the same line: where the involutes
    // really meet (the interference warning says why it is less).
    line(box, "εα  = " + f(n.epsilonAlpha) + ", εα_eff = " + f(n.epsilonAlphaEff) +
         " contact ratio, nominal and effective", "かみ合い率・有効かみ合い率");
    if (n.epsilonBeta > 0) {
      line(box, "εβ  = " + f(n.epsilonBeta) + ", εγ = " + f(n.epsilonGamma) + " face and total contact ratio (helical)",
           "重なりかみ合い率・全かみ合い率");
    }
    line(box, "αw  = " + f(n.alphaWDeg) + "°   working pressure angle", "かみ合い圧力角");
    if (rack) {
      line(box, "a   = " + f(n.centreDistance) + " mm from the pinion's centre to the rack's datum line",
           "ピニオン中心からラックの基準線まで");
      line(box, "p   = " + f(Math.PI * good.module) + " mm rack pitch", "ラックのピッチ");
    } else if (!set) {
      line(box, "a   = " + f(n.centreDistance) + " mm centre distance", "中心距離");
    }
    line(box, "ga  = " + f(n.ga) + " mm path of contact", "かみ合い長さ");
    // The base pitch as the report gives it (a helical pair's in the normal plane).
    var pb = reportLine(report, "pb");
    line(box, "pb  = " + pb.value + " mm " + pb.en, pb.ja);
    if (rack) line(box, "sa1 = " + f(gears[0].sa) + " mm tip thickness", "歯先厚さ");
    else line(box, "sa1 = " + f(gears[0].sa) + " mm, sa2 = " + f(gears[1].sa) + " mm tip thickness", "歯先厚さ");
    if (good.kind === "internal") line(box, "zc  = " + n.zc + "       teeth of the cutter that cuts the ring",
                                       "内歯車を歯切りするピニオンカッタの歯数");
    if (good.kind === "internal") {
      line(box, "jn  = " + f(n.jn) + " mm, jt = " + f(n.jt) + " mm backlash; pinion and ring each thinned by " +
           f(n.thinning) + " mm", "バックラッシ（ピニオンと内歯車の歯厚減少量）", "workshop");
    }
    if (rack) {
      line(box, "jn  = " + f(n.jn) + " mm, jt = " + f(n.jt) + " mm backlash; pinion and rack each thinned by " +
           f(n.thinning) + " mm", "バックラッシ（ピニオンとラックの歯厚減少量）", "workshop");
    }
    if (external) {
      line(box, "dw1 = " + f(gears[0].dw) + " mm, dw2 = " + f(gears[1].dw) + " mm working pitch diameters, y = " +
           f(n.y) + ", i = " + f(n.ratio), "かみ合いピッチ円直径・中心距離修正係数・歯数比", "workshop");
      line(box, "jn  = " + f(n.jn) + " mm, jt = " + f(n.jt) + " mm backlash; each gear thinned by " +
           f(n.thinning) + " mm", "バックラッシ（各歯車の歯厚減少量）", "workshop");
      for (var gi = 0; gi < 2; gi++) {
        var k = gears[gi].spanTeeth;
        var over = gears[gi].overPins;
        line(box, names[gi].en + ": " + (k > 0 ? "W = " + f(gears[gi].span) + " mm over k = " + k + " teeth"
                                               : "no span measurable on the involute") +
             ", " + (over > 0 ? "M = " + f(over) + " mm over pins of " + f(gears[gi].pinDiameter) + " mm"
                              : gears[gi].pinDiameter > 0 ? "no size over pins of " + f(gears[gi].pinDiameter) + " mm"
                                                              : "no pin measures over the teeth"),
             names[gi].ja + "：またぎ歯厚・オーバーピン寸法", "workshop");
      }
    }
    // The contact stress, with a torque.
    var sigmaC = reportLine(report, "σH_C");
    var sigmaMax = reportLine(report, "σH_max");
    if (sigmaC && sigmaMax) {
      line(box, "σH_C = " + sigmaC.value + " MPa at the pitch point, σH_max = " + sigmaMax.value +
           " MPa greatest: contact stress (Hertz)", "歯面の接触応力（ピッチ点・最大）");
    }
    // Bending at the root, as the report's lines give it (on the screen; a
    // printed page has no height to spare for them).
    for (var bi = 1; bi <= 2; bi++) {
      var yf = reportLine(report, "YF" + bi);
      if (!yf) continue;  // a rack has no teeth worked on
      var ys = reportLine(report, "YS" + bi);
      var sigmaF0 = reportLine(report, "σF0_" + bi);
      line(box, "YF" + bi + " = " + yf.value + ", YS" + bi + " = " + ys.value +
           " form and stress correction factors at the root" +
           (sigmaF0 ? "; σF0_" + bi + " = " + sigmaF0.value + " MPa nominal root stress (a teaching figure, not a rating)" : ""),
           names[bi - 1].ja + "：歯形係数・応力修正係数" + (sigmaF0 ? "・呼び歯元応力（教材用の値）" : ""), "workshop");
      // A YS worked beyond its relation's range is said under it, as it.
      report.forEach(function (l) {
        if (l.kind === "warning" && l.id === "ysExtrapolated" && l.gear === bi) line(box, "⚠ " + l.en, l.ja, "warning workshop");
      });
    }
    var quiet = warningLines(box, report, ["ysExtrapolated"]);
    if (set) {
      var r = set.ring;
      line(box, "planet–ring mesh:", "遊星歯車と内歯車のかみ合い", "mesh-head");
      line(box, "εα  = " + f(r.epsilonAlpha) + ", εα_eff = " + f(r.epsilonAlphaEff) +
           " contact ratio, nominal and effective", "かみ合い率・有効かみ合い率");
      line(box, "αw  = " + f(r.alphaWDeg) + "°   working pressure angle", "かみ合い圧力角");
      line(box, "ga  = " + f(r.ga) + " mm path of contact", "かみ合い長さ");
      line(box, "saP = " + f(r.gears[0].sa) + " mm, saR = " + f(r.gears[1].sa) + " mm tip thickness", "歯先厚さ");
      // The planet's undercut is its sun–planet mesh's, said there; the
      // ring's YS is not shown here, nor what is said of it.
      quiet = warningLines(box, program.pairReport(1), ["undercut", "ysExtrapolated"]) && quiet;
    }
    if (quiet) line(box, "no warnings", "警告なし");
    box.appendChild(contactLine);
    box.appendChild(slidingLine);
    box.appendChild(planeLine);
    box.appendChild(setLine);
    box.appendChild(bendingLine);
    readout.textContent = "";
    readout.appendChild(box);
    showContacts();
    showSlidingPlot();
  }
  // Every frame of scene 7: where the contact points of the moment are; of
  // scene 11: the one it follows, nearest the pitch point, and its sliding.
  var slidingLine = document.createElement("div");
  var planeLine = document.createElement("div");
  var setLine = document.createElement("div");
  var bendingLine = document.createElement("div");
  function showContacts() {
    // Scene 13: where the pair of teeth it follows touches.
    bendingLine.hidden = scene !== 13;
    if (scene === 13) {
      var bs = program.bendingS();
      var e = program.slidingCurve(2).E;
      if (isNaN(bs) || bs > e) say(bendingLine, "the followed pair of teeth is out of contact now", "いまは追っている歯の対が接触していない");
      else say(bendingLine, "s = " + f(bs, 3) + " mm from T1: the load on the teeth shown", "図の歯に荷重が掛かる点：T1 から s = " + f(bs, 3) + " mm");
    }
    // Scene 12: how far each member of the set has turned.
    setLine.hidden = scene !== 12;
    if (scene === 12) {
      var t = program.setTurns();
      var turns = ["sun", "carrier", "ring", "planet"].map(function (member) { return f(t[member]); });
      say(setLine, "sun " + turns[0] + " rad, carrier " + turns[1] + " rad, ring " + turns[2] + " rad, planet " +
          turns[3] + " rad about its own centre, counter-clockwise from the start",
          "回転角：太陽歯車 " + turns[0] + " rad、キャリア " + turns[1] + " rad、内歯車 " + turns[2] + " rad、遊星歯車（自転） " +
          turns[3] + " rad");
    }
    // Scene 10: the contact lines' total length at this moment.
    planeLine.hidden = scene !== 10;
    if (scene === 10) {
      var length = f(program.contactLinesLength(), 3);
      say(planeLine, "L = " + length + " mm of contact lines in the plane of action now",
          "作用面上の接触線の長さの和 L = " + length + " mm");
    }
    slidingLine.hidden = scene !== 11;
    if (scene === 11) {
      var v = program.sliding();
      if (isNaN(v.s)) say(slidingLine, "no pair of teeth in contact now", "いまは接触している歯の対がない");
      else say(slidingLine, "s = " + f(v.s, 3) + " mm from T1, the contact nearest the pitch point; ζ1 = " +
               f(v.zeta1, 3) + ", ζ2 = " + f(v.zeta2, 3) + " specific sliding there",
               "ピッチ点に最も近い接触点：T1 から s = " + f(v.s, 3) + " mm、比すべり ζ1 = " + f(v.zeta1, 3) +
               "、ζ2 = " + f(v.zeta2, 3));
    }
    contactLine.hidden = scene !== 7;
    if (scene !== 7) return;
    var contacts = program.contacts();
    var at = contacts.at.map(function (d) { return f(d, 3); });
    say(contactLine, "contact now at " + (at.length ? at.join(", ") + " mm" : "no point") + " along the " +
        f(contacts.pathLength, 3) + " mm path of contact, from where a pair starts touching",
        "接触点：かみ合い経路の始点から " + (at.length ? at.join(", ") + " mm" : "なし"));
  }

  // ---- The specific sliding along the path of contact (the program's
  // numbers, program.slidingCurve) as an image: zeta1 red, zeta2 blue, the
  // zones of one pair in contact shaded yellow, of two or more green; its
  // name gives both curves' ends. Once per pair.
  var plot = section.querySelector('[data-plot="sliding"]');
  function svg(parent, name, attributes, text) {
    var element = document.createElementNS("http://www.w3.org/2000/svg", name);
    for (var a in attributes) element.setAttribute(a, attributes[a]);
    if (text !== undefined) element.textContent = text;
    parent.appendChild(element);
    return element;
  }
  function showSlidingPlot() {
    var c = program.slidingCurve(81);
    var e = c.ends;
    var left = 34, right = 312, top = 14, bottom = 150;
    var lowest = Math.min(e.zeta1Root, e.zeta2Root);
    var low = [-0.25, -0.5, -1, -2, -4].find(function (z) { return z <= lowest; }) || -4;
    var x = function (s) { return (left + (s - c.A) / (c.E - c.A) * (right - left)).toFixed(1); };
    var y = function (z) { return (top + (1 - z) / (1 - low) * (bottom - top)).toFixed(1); };
    var z = function (v) { return isFinite(v) ? f(v, 3).replace("-", "−") : "−∞"; };
    var name = "Specific sliding along the path of contact A to E: ζ1 (gear 1) from " + z(e.zeta1Root) + " at A to " +
               z(e.zeta1Tip) + " at E; ζ2 (gear 2) from " + z(e.zeta2Tip) + " at A to " + z(e.zeta2Root) + " at E";
    plot.textContent = "";
    plot.setAttribute("aria-label", name);
    svg(plot, "title", {}, name);
    if (!(c.E > c.A)) return;
    c.zones.forEach(function (zone) {
      svg(plot, "rect", { x: x(zone[0]), y: top, width: (x(zone[1]) - x(zone[0])).toFixed(1), height: bottom - top,
                          fill: zone[2] > 1 ? "#dcecdc" : "#fdedb9" });
      svg(plot, "text", { x: ((+x(zone[0]) + +x(zone[1])) / 2).toFixed(1), y: top + 10, "text-anchor": "middle" },
          String(zone[2]));
    });
    svg(plot, "line", { x1: left, x2: right, y1: y(0), y2: y(0), stroke: "#888" });
    svg(plot, "rect", { x: left, y: top, width: right - left, height: bottom - top, fill: "none", stroke: "#000" });
    ["zeta1", "zeta2"].forEach(function (key, i) {
      var points = [];
      c[key].forEach(function (v, j) { if (v >= low) points.push(x(c.s[j]) + "," + y(v)); });
      svg(plot, "polyline", { points: points.join(" "), fill: "none", stroke: i ? "#00c" : "#d00", "stroke-width": 1.5 });
      // The legend at the bottom's middle, below both curves (each is lowest at its own end).
      svg(plot, "text", { x: (left + right) / 2, y: bottom - 18 + 12 * i, fill: i ? "#00c" : "#d00", "text-anchor": "middle" },
          "ζ" + (i + 1) + " (gear " + (i + 1) + ")");
    });
    [[1, "1"], [0, "0"], [low, String(low).replace("-", "−")]].forEach(function (t) {
      svg(plot, "text", { x: left - 4, y: (+y(t[0]) + 4).toFixed(1), "text-anchor": "end" }, t[1]);
    });
    svg(plot, "text", { x: 10, y: ((top + bottom) / 2).toFixed(1), "text-anchor": "middle",
                        transform: "rotate(-90 10 " + ((top + bottom) / 2).toFixed(1) + ")" }, "ζ");
    [[c.A, "A", "start"], [c.C, "C", "middle"], [c.E, "E", "end"]].forEach(function (t) {
      if (t[0] >= c.A && t[0] <= c.E) svg(plot, "text", { x: x(t[0]), y: bottom + 13, "text-anchor": t[2] }, t[1] + " " + f(t[0], 2));
    });
    svg(plot, "text", { x: ((left + right) / 2).toFixed(1), y: bottom + 30, "text-anchor": "middle" },
        "s, mm from T1 along the line of action");
  }

  // ---- What to notice: the current scene's notes (scene 7's for the kind of
  // pair shown: data-kind). They are put in after the first frame
  // (program.js), before the column is shown.
  function showNotes() {
    var notes = document.querySelectorAll("#what-to-notice [data-scene]");
    for (var i = 0; i < notes.length; i++) {
      var kind = notes[i].dataset.kind;
      notes[i].hidden = notes[i].dataset.scene !== String(scene) || (kind !== undefined && kind !== good.kind);
    }
  }
  page.whenPanelsShown(showNotes);


  // ---- After every frame: the notes, the readout, the link's scene, the
  // chosen pair scene on its button.
  var sceneKeys = section.querySelectorAll("button[data-key]");
  function markScene() {
    for (var i = 0; i < sceneKeys.length; i++) {
      sceneKeys[i].setAttribute("aria-pressed", keys.sceneOf(sceneKeys[i].dataset.key) === scene ? "true" : "false");
    }
  }
  function frameDrawn() {
    if (!running()) return;
    var now = program.scene();
    var changed = now !== scene;
    scene = now;
    if (changed) {
      showNotes();
      link.sceneChanged();
    }
    markScene();
    if (!started) {
      if (!waiting) page.whenPanelsShown(start);
      waiting = true;
    } else {
      showContacts();
    }
  }
  // The pair scenes start: the panel's pair (or the link's) goes to the
  // program, its numbers to the panel, and the link's scene is shown. Once:
  // when the page is shown after the first frame (program.js), or at a key
  // 7 to 9 before that (keys.js).
  function start() {
    if (started || !built || !running()) return;
    started = true;
    program.pairStart();
    var taken = applyForm(true);
    showNumbers();
    link.firstFrame(taken);
  }
  function stateChanged() {
    var off = body.dataset.state === "ended" || body.dataset.state === "failed";
    for (var name in inputs) inputs[name].disabled = off;
    for (var value in kindInputs) kindInputs[value].disabled = off;
    if (!off) enableKindKeys();
    // The first frame comes before the page has been read and the program
    // runs: it is looked at now.
    if (running() && !started && !waiting && page.frames() > 0) frameDrawn();
  }
  new MutationObserver(stateChanged).observe(body, { attributes: true, attributeFilter: ["data-state"] });
  // Frames drawn in one task (a held key's burst) are looked at once, after
  // it, as the program has finished drawing.
  var lookQueued = false;
  page.watchFrames(function () {
    if (lookQueued) return;
    lookQueued = true;
    queueMicrotask(function () {
      lookQueued = false;
      frameDrawn();
    });
  });

  // The fields, once the program can give its table: at once when it has
  // started before this script was read (page.html), else when it starts.
  page.whenStarted(function () {
    if (built) return;
    makeKinds();
    readTable();
    fields.forEach(makeField);
    showFieldsOf("external");
    fields.forEach(function (field) { good[field.name] = Number(field.start); });
    built = true;
    afterBuilt.splice(0).forEach(function (callback) { callback(); });
    stateChanged();
  });
  // The program may have failed before this script was read (page.html).
  stateChanged();

  // ---- The saved files, named by the pair the program has (the last good
  // one): involute-external-z12-z24-m3.dxf. The tooth counts, the module and
  // a set's planets always; the other inputs that shape the outlines or the
  // solid only where they differ from their start (x0.6-x0.36, beta15-left).
  var fileTags = { z1: "z", z2: "z", z3: "z", module: "m", planets: "N", alpha: "alpha", x1: "x", x2: "x",
                   centre: "a", cutter: "zc", backlash: "jn", width: "b", beta: "beta", hand: "" };
  var alwaysNamed = { z1: true, z2: true, z3: true, module: true, planets: true };
  function fileName(extension) {
    var parts = ["involute", good.kind];
    Object.keys(fileTags).forEach(function (name) {
      var field = byName[name];
      var value = good[name];
      if (!field || !uses(field, good.kind) || value === undefined || value === null) return;
      if (!alwaysNamed[name] && value === Number(field.start || 0)) return;
      if (name === "hand" && !good.beta) return;  // a spur gear has no hand
      parts.push(fileTags[name] + (field.words ? field.words[value] : String(value)));
    });
    return parts.join("-").replace(/[^A-Za-z0-9.,+-]/g, "_") + "." + extension;
  }
  // The outlines as an SVG file: the desktop's --svg, byte for byte;
  // after Esc too, as the picture saves are (the program has stopped, its
  // pair is still there).
  section.querySelector('[data-action="save-svg"]').addEventListener("click", function () {
    if (!started || !(running() || body.dataset.state === "ended")) return;
    saves.download(program.svg(), "image/svg+xml", fileName("svg"));
  });
  // The same outlines as the desktop's --dxf: DXF R12 in mm, in mesh.
  section.querySelector('[data-action="save-dxf"]').addEventListener("click", function () {
    if (!started || !(running() || body.dataset.state === "ended")) return;
    saves.download(program.dxf(), "image/vnd.dxf", fileName("dxf"));
  });
  // The gears as solids to print, the desktop's --stl: binary STL in mm.
  section.querySelector('[data-action="save-stl"]').addEventListener("click", function () {
    if (!started || !(running() || body.dataset.state === "ended")) return;
    saves.download(program.stl(), "model/stl", fileName("stl"));
  });

  return {
    start: start,
    fields: fields,
    // Runs `callback` once the fields are made (at once if they are).
    whenBuilt: function (callback) {
      if (built) callback();
      else afterBuilt.push(callback);
    },
    // The field's text as given (a link's value, good or bad: a choice of
    // words shows a word it does not offer as an extra choice, refused
    // until another is chosen).
    setText: function (name, text) {
      var input = inputs[name];
      if (input.tagName === "SELECT") {
        var extra = input.querySelector("option[data-given]");
        if (extra) extra.remove();
        if (byName[name].words.indexOf(text) < 0) {
          extra = document.createElement("option");
          extra.value = extra.textContent = text;
          extra.dataset.given = "";
          input.appendChild(extra);
        }
      }
      input.value = text;
    },
    // The kind of pair chosen by its word ("external", …); false for another word.
    setKind: function (value) {
      if (!kindInputs.hasOwnProperty(value)) return false;
      kindInputs[value].checked = true;
      return true;
    },
    uses: uses,
    // Whether a centre distance is given for the kind: the shifts the link
    // leaves out are then the program's choice (x1's field left empty).
    centreGiven: centreGiven,
    // The kinds (their words) that alone offer `scene`'s key ([] when every kind has it).
    kindsOffering: function (scene) {
      var key = keys.keyOf(scene);
      if (!scene || keys.kindKeys().indexOf(key) < 0) return [];
      return kinds.filter(function (kind) { return kind.keys.indexOf(key) >= 0; }).map(function (kind) { return kind.value; });
    },
    // The kinds' words, in the program's order.
    kindNames: function () { return kinds.map(function (kind) { return kind.value; }); },
    apply: applyForm,
    good: function () { return good; },
    scene: function () { return scene; }
  };
})();
