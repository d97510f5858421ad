// Packs the program's WebAssembly into the page compressed: reads the page
// emcc links (its wasm inline as a base64 data: URL in the glue script),
// gzips the wasm, writes it as base64 where the page's program-code element
// holds the marker @PROGRAM_CODE@, and leaves the data: URL empty. The page
// (module.js) unpacks it with the browser's DecompressionStream and compiles
// it while it streams. Gzipped, the wasm takes about half the room in the
// page and is decoded from base64 at half the length.
// Not here: anything else in the page; the page is written atomically.
//
//   node pack_program.mjs LINKED.html PAGE.html
import fs from "node:fs";
import zlib from "node:zlib";

const [linkedPath, pagePath] = process.argv.slice(2);
const fail = (message) => { console.error(`pack_program: ${linkedPath}: ${message}`); process.exit(1); };
const linked = fs.readFileSync(linkedPath, "utf8");

const dataUrl = /"data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)"/g;
const found = [...linked.matchAll(dataUrl)];
if (found.length !== 1) fail(`${found.length} inline wasm data: URLs, not one`);
const marker = "@PROGRAM_CODE@";
if (linked.split(marker).length !== 2) fail(`the marker ${marker} is not there exactly once`);

const wasm = Buffer.from(found[0][1], "base64");
if (wasm.readUInt32BE(0) !== 0x0061736d) fail("the inline data is not WebAssembly");
const packed = zlib.gzipSync(wasm, { level: zlib.constants.Z_BEST_COMPRESSION }).toString("base64");

const page = linked.replace(found[0][0], '"data:application/octet-stream;base64,"')
                   .replace(marker, () => packed);
fs.writeFileSync(`${pagePath}.tmp`, page);
fs.renameSync(`${pagePath}.tmp`, pagePath);
