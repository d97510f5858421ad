// Makes the one page from what emcc links: reads its page (LINKED.html),
// puts the glue script it refers to (LINKED.js) inline where the page has
// its script element, gzips the wasm (LINKED.wasm) and writes it in base64
// where the page's program-code element holds the marker @PROGRAM_CODE@.
// The page (module.js) decodes it with the browser's own base64 decoder,
// unpacks it with its DecompressionStream and compiles it in the
// background. Parts of the page's text marked
// <template id="ID" data-packed> are packed the same way (below).
//
// Base64 rather than a denser code of the page's own (seven bits to a
// character took 8/7 of the bytes where base64 takes 4/3, 20 KB less in
// the page): the browser decodes base64 natively (Uint8Array.fromBase64),
// 6 to 8 ms sooner before the first frame than the page's own decoder on
// the machine of docs/performance.md. Its text is ASCII with nothing an
// HTML script element cannot hold.
//
// The rest of the page is then written with no character beyond U+00FF:
// the Japanese (and any other such character) as a character reference
// in the HTML (&#x30A4;) and as a \u escape in the scripts, which mean the
// same. One such character anywhere makes the browser decode the whole
// page into two bytes a character, 10 to 20 ms before the first frame on
// the machine of docs/performance.md; without any it keeps one byte a
// character (Latin-1 included), as a blank page's text.
// Not here: anything else in the page; the page is written atomically.
//
//   node pack_program.mjs LINKED.html PAGE.html
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";

const [linkedPath, pagePath] = process.argv.slice(2);
const fail = (message) => { console.error(`pack_program: ${linkedPath}: ${message}`); process.exit(1); };
const linked = fs.readFileSync(linkedPath, "utf8");

const glueElement = /<script async type="text\/javascript" src="([^"/]+)\.js"><\/script>/g;
const found = [...linked.matchAll(glueElement)];
if (found.length !== 1) fail(`${found.length} script elements of emcc's glue, not one`);
const marker = "@PROGRAM_CODE@";
if (linked.split(marker).length !== 2) fail(`the marker ${marker} is not there exactly once`);
const glue = fs.readFileSync(path.join(path.dirname(linkedPath), `${found[0][1]}.js`), "utf8");
if (/<\/script/i.test(glue)) fail("the glue script would end its script element early");

const wasm = fs.readFileSync(path.join(path.dirname(linkedPath), `${found[0][1]}.wasm`));
if (wasm.readUInt32BE(0) !== 0x0061736d) fail("the program's wasm is not WebAssembly");
// Bytes gzipped and written in base64.
function packed(bytes) {
  return zlib.gzipSync(bytes, { level: zlib.constants.Z_BEST_COMPRESSION }).toString("base64");
}

// Characters beyond U+00FF written in ASCII as what means the same: in a
// script as \u escapes (each UTF-16 unit), in a style as CSS escapes,
// elsewhere as character references. Scripts of other types (shaders)
// must have none.
const anyBeyondLatin1 = /[^\x00-\xff]/;
const hex = (code) => code.toString(16).toUpperCase();
function latin1Only(html) {
  const escapeIn = {
    script: (text) => text.replace(/[^\x00-\xff]/g, (unit) => "\\u" + hex(unit.charCodeAt(0)).padStart(4, "0")),
    style: (text) => text.replace(/[^\x00-\xff]/gu, (c) => `\\${hex(c.codePointAt(0))} `),
    html: (text) => text.replace(/[^\x00-\xff]/gu, (c) => `&#x${hex(c.codePointAt(0))};`),
  };
  return html.replace(/(<(script|style)\b([^>]*)>)([^]*?)(<\/\2>)|([^<]+|<)/g,
    (all, open, element, attributes, body, close, outside) => {
      if (outside !== undefined) return escapeIn.html(outside);
      if (element === "script" && /\btype=/.test(attributes) && anyBeyondLatin1.test(body)) {
        fail(`a <script${attributes}> holds characters beyond U+00FF`);
      }
      return escapeIn.html(open) + escapeIn[element](body) + close;
    });
}

// Parts of the page written <template id="ID" data-packed>HTML</template>
// (What to notice: its Japanese takes three bytes a character in UTF-8 and
// eight as character references) are packed the same way, from their UTF-8,
// into <script type="application/gzip" id="ID" data-html>, which the page
// unpacks and puts in their place after its first frame (program.js).
const packedPart = /<template id="([\w-]+)" data-packed>([^]*?)<\/template>/g;
const withParts = linked.replace(packedPart, (all, id, html) => {
  if (/<\/?template\b/.test(html)) fail(`the packed part ${id} holds a template`);
  return `<script type="application/gzip" id="${id}" data-html>${packed(Buffer.from(html, "utf8"))}</script>`;
});
const page = latin1Only(withParts.replace(found[0][0], () => `<script>\n${glue}</script>`))
  .replace(marker, () => packed(wasm));
fs.writeFileSync(`${pagePath}.tmp`, page, "utf8");
fs.renameSync(`${pagePath}.tmp`, pagePath);
