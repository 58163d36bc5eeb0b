// The peer of benchmarks/qr-batch: the same bills, one a page of 210 x 105 mm, through the
// JavaScript QR-bill library with PDFKit, run as a black box.
//   node benchmarks/qr-batch-peer.mjs MODULES_DIR BILLS.json OUT.pdf
import { createWriteStream, readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { pathToFileURL } from "node:url";

const [modules, billsPath, outPath] = process.argv.slice(2);
const require = createRequire(path.join(path.resolve(modules), "package.json"));
const PDFDocument = require("pdfkit");
const { SwissQRBill } = await import(pathToFileURL(require.resolve("swissqrbill/pdf")).href);

const bills = JSON.parse(readFileSync(billsPath, "utf8"));
const size = [595.28, 297.64];  // 210 x 105 mm
const doc = new PDFDocument({ autoFirstPage: false, size });
const done = new Promise((resolve) => doc.pipe(createWriteStream(outPath)).on("finish", resolve));
for (const data of bills) {
  doc.addPage({ size, margin: 0 });
  new SwissQRBill(data, { language: "FR" }).attachTo(doc);
}
doc.end();
await done;
