// Renders a ZPL file with zpl-renderer-js, one PNG a label: node zpl_render.mjs ZPLFILE OUTPREFIX
// WIDTHMM HEIGHTMM DPMM writes OUTPREFIX-1.png, OUTPREFIX-2.png ... The package is looked up in
// the folders of NODE_PATH (an ES module does not search them by itself).
import { createRequire } from "node:module";
import fs from "node:fs";
import path from "node:path";

const [file, prefix, width, height, dpmm] = process.argv.slice(2);
if (!file || !prefix || !(Number(width) > 0) || !(Number(height) > 0) || !(Number(dpmm) > 0)) {
    console.error("usage: zpl_render.mjs ZPLFILE OUTPREFIX WIDTHMM HEIGHTMM DPMM");
    process.exit(2);
}
const require = createRequire(import.meta.url);
const folders = (process.env.NODE_PATH || "").split(path.delimiter).filter(Boolean);
let entry;
try {
    entry = require.resolve("zpl-renderer-js", { paths: folders });
} catch {
    console.error(`zpl-renderer-js not found in NODE_PATH (${folders.join(", ") || "unset"})`);
    process.exit(3);
}
const { ready } = require(entry);
const { api } = await ready;
const zpl = fs.readFileSync(file, "utf8");
let pictures;
try {
    pictures = await api.zplToBase64MultipleAsync(zpl, Number(width), Number(height), Number(dpmm));
} catch (error) {
    // The message only: the error's stack quotes the whole bundled renderer.
    console.error(String(error && error.message ? error.message : error));
    process.exit(1);
}
pictures.forEach((b64, i) => fs.writeFileSync(`${prefix}-${i + 1}.png`, Buffer.from(b64, "base64")));
console.log(pictures.length);
