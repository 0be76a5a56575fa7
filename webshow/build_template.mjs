// Builds the web page's template: the page's markup with its style, its
// script modules joined into one script, the cryptographic library and the
// program icon inlined, and a Content-Security-Policy that allows those
// inline parts by their hashes and nothing from anywhere else. The template
// ends with the data element whose placeholder the show's bytes replace.
//
// node build_template.mjs PAGE_DIR NODE_MODULES MASTER_KEY_HEX_FILE ICON_SVG OUT
import { createHash } from "node:crypto";
import { readFileSync, renameSync, writeFileSync } from "node:fs";
import { basename, join } from "node:path";

const kDataMarker = '<script id="pivolane-show" type="application/octet-stream">';
const kPlaceholder = "@PIVOLANE_SHOW_DATA@";
const kEnding = `${kDataMarker}${kPlaceholder}</script>\n</body>\n</html>\n`;
const kEntryModule = "main.js";

function fail(message) {
  console.error(`build_template: ${message}`);
  process.exit(1);
}

const [pageDir, nodeModules, masterKeyFile, iconFile, outFile] = process.argv.slice(2);
if (!outFile) {
  fail("usage: node build_template.mjs PAGE_DIR NODE_MODULES MASTER_KEY_HEX ICON_SVG OUT");
}

function read(path) {
  try {
    return readFileSync(path, "utf8");
  } catch (error) {
    fail(`cannot read ${path}: ${error.message}`);
  }
}

// The page's modules joined into one script, each in a scope of its own.
// Modules import with `import { a, b } from "./file.js";` and export
// declarations with `export`; nothing else of the module syntax is used.
function joinModules(entry) {
  const importLine = /^import \{([^}]*)\} from "\.\/([\w.]+\.js)";\n/gm;
  const exportWord = /^export (?=(?:async function|function|class|const|let) )/gm;
  const exportedName = /^export (?:async function|function|class|const|let) (\w+)/gm;
  const scopeOf = (file) => `module_${basename(file, ".js")}`;
  const joined = [];
  const states = new Map(); // file -> "joining" | "joined"
  const join_ = (file) => {
    if (states.get(file) === "joined") return;
    if (states.get(file) === "joining") fail(`modules import each other around ${file}`);
    states.set(file, "joining");
    const source = read(join(pageDir, file));
    const bindings = [];
    for (const [, names, imported] of source.matchAll(importLine)) {
      join_(imported);
      bindings.push(`const {${names}} = ${scopeOf(imported)};\n`);
    }
    let body = source.replace(importLine, "");
    if (/^(import|export) /m.test(body.replace(exportWord, ""))) {
      fail(`${file} uses module syntax that the page's build does not join`);
    }
    const exports = Array.from(body.matchAll(exportedName), (match) => match[1]);
    body = body.replace(exportWord, "");
    joined.push(
      `const ${scopeOf(file)} = (() => {\n${bindings.join("")}${body}` +
        `return { ${exports.join(", ")} };\n})();\n`,
    );
    states.set(file, "joined");
  };
  join_(entry);
  return joined.join("");
}

function substituteOnce(text, marker, value, where) {
  const parts = text.split(marker);
  if (parts.length !== 2) fail(`${where} must hold ${marker} exactly once`);
  return parts[0] + value + parts[1];
}

// Inline text must not end its element early nor change how the parser
// reads the rest of it.
function checkInline(text, what) {
  if (/<\/script|<!--|<\/style/i.test(text)) fail(`${what} holds text that would end its element`);
  if (text.includes(kPlaceholder) || text.includes(kDataMarker)) {
    fail(`${what} holds the show's placeholder or data marker`);
  }
  return text;
}

const hashOf = (text) => `'sha256-${createHash("sha256").update(text, "utf8").digest("base64")}'`;

const masterKeyHex = read(masterKeyFile).trim();
if (!/^[0-9a-f]{5124}$/.test(masterKeyHex)) fail("the master key is not 2562 bytes of hexadecimal");
const modules = joinModules(kEntryModule);
const script = checkInline(
  substituteOnce(modules, "@PIVOLANE_MASTER_KEY@", masterKeyHex, "the page's script"),
  "the page's script",
);
const library = checkInline(
  [
    "libsodium-sumo/dist/modules-sumo/libsodium-sumo.js",
    "libsodium-wrappers-sumo/dist/modules-sumo/libsodium-wrappers.js",
  ]
    .map((file) => read(join(nodeModules, file)))
    .join("\n"),
  "the cryptographic library",
);
const style = checkInline(read(join(pageDir, "page.css")), "the page's style");
const icon = read(iconFile)
  .replace(/<\?xml[^>]*>\s*/, "")
  .trim()
  .replace("<svg ", '<svg aria-hidden="true" focusable="false" ');

// Nothing but the page itself: its inline scripts and style by their hashes,
// WebAssembly for the library, pictures from object URLs, the key derivation's
// worker from an object URL, and no connection of any kind.
const policy = [
  "default-src 'none'",
  `script-src ${hashOf(library)} ${hashOf(script)} 'wasm-unsafe-eval'`,
  `style-src ${hashOf(style)}`,
  "img-src blob: data:",
  "worker-src blob:",
  "base-uri 'none'",
  "form-action 'none'",
].join("; ");

let page = read(join(pageDir, "page.html"));
for (const [marker, value] of [
  ["@CONTENT_SECURITY_POLICY@", policy],
  ["@ICON_DATA_URL@", `data:image/svg+xml,${encodeURIComponent(icon)}`],
  ["@STYLE@", style],
  ["@SODIUM@", library],
  ["@SCRIPT@", script],
]) {
  page = substituteOnce(page, marker, value, "page.html");
}
page = page.split("@ICON_SVG@").join(icon);

if (!page.startsWith("<!DOCTYPE html>")) fail("the page must begin with <!DOCTYPE html>");
if (!page.endsWith(kEnding)) fail("the page must end with the show's data element");
if (page.split(kPlaceholder).length !== 2 || page.split(kDataMarker).length !== 2) {
  fail("the placeholder and the data marker must occur once each");
}

const partial = `${outFile}.partial`;
writeFileSync(partial, page);
renameSync(partial, outFile);
