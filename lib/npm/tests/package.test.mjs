// The packed tarball as a user meets it: installed into an empty folder by
// npm from the file alone, then run on the table of cases from a Node.js
// script and from a page bundled by esbuild in headless Chromium; every
// outcome must be huecode-cli's (its markup, or its message as the thrown
// error's). The declarations are checked against these tests by tsc, and
// the tarball by publint.
// Environment: HUECODE_NPM_TARBALL, HUECODE_CLI, HUECODE_CHROMIUM.
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";
import * as esbuild from "esbuild";
import { chromium } from "playwright-core";

const here = fileURLToPath(new URL(".", import.meta.url));
const tools = join(here, "..", "node_modules", ".bin");
const tarball = process.env.HUECODE_NPM_TARBALL;
const cli = process.env.HUECODE_CLI;
const cases = JSON.parse(readFileSync(join(here, "cases.json"), "utf8"));
const app = mkdtempSync(join(tmpdir(), "huecode-npm-"));

/** What huecode-cli writes for a case, as the package should give it: its note on the text's codes too. */
function expected(row) {
  const args = row.slice(0, -1);
  const run = spawnSync(cli, [...args, "--", row.at(-1)], { encoding: "utf8" });
  if (run.status === 0) {
    const markup = run.stdout.replace(/\n$/u, "");
    const note = /^huecode-cli: (note: .*)$/mu.exec(run.stderr)?.[1] ?? "";
    return args.includes("--strip") ? { markup } : { markup, note };
  }
  const message = run.stderr.trim().replace(/^huecode-cli: /u, "").replace(/ \(see --help\)$/u, "");
  return { code: run.status === 2 ? "option" : "input", message };
}

function checkOutcomes(outcomes) {
  assert.equal(outcomes.length, cases.length);
  cases.forEach((row, k) => assert.deepEqual(outcomes[k], expected(row), JSON.stringify(row)));
}

before(() => {
  writeFileSync(join(app, "package.json"), JSON.stringify({ private: true, type: "module" }));
  execFileSync("npm", ["install", "--offline", "--no-audit", "--no-fund", tarball], { cwd: app });
  cpSync(here, join(app, "tests"), { recursive: true, filter: (from) => !from.endsWith(".test.mjs") });
});
after(() => rmSync(app, { recursive: true, force: true }));

test("a Node.js script gets huecode-cli's outcomes", () => {
  const script = `import * as huecode from "huecode";
    import { runCases } from "./tests/run-cases.js";
    import cases from "./tests/cases.json" with { type: "json" };
    // A JavaScript string can hold what no UTF-8 can: a lone surrogate is
    // refused, never quietly changed.
    const refused = (call) => { try { call(); return "kept"; } catch (e) { return e.code; } };
    const lone = [() => huecode.convert("a\\uD800b"), () => huecode.strip("\\uDC00")].map(refused);
    process.stdout.write(JSON.stringify({ outcomes: runCases(huecode, cases), lone }));`;
  const out = JSON.parse(execFileSync("node", ["--input-type=module", "-e", script], { cwd: app, encoding: "utf8" }));
  checkOutcomes(out.outcomes);
  assert.deepEqual(out.lone, ["input", "input"]);
});

test("a page bundled by esbuild gets huecode-cli's outcomes in Chromium", async () => {
  const built = await esbuild.build({
    stdin: {
      contents: `import * as huecode from "huecode";
        import { runCases } from "./tests/run-cases.js";
        import cases from "./tests/cases.json";
        window.outcomes = runCases(huecode, cases);`,
      resolveDir: app,
    },
    bundle: true,
    format: "esm",
    platform: "browser",
    write: false,
  });
  const browser = await chromium.launch({ executablePath: process.env.HUECODE_CHROMIUM });
  try {
    const page = await browser.newPage();
    await page.setContent(`<script type="module">${built.outputFiles[0].text}</script>`);
    await page.waitForFunction(() => window.outcomes !== undefined);
    checkOutcomes(await page.evaluate(() => window.outcomes));
  } finally {
    await browser.close();
  }
});

test("the declarations hold for the package's own tests", () => {
  execFileSync(join(tools, "tsc"), ["-p", join(app, "tests", "tsconfig.json")], { stdio: "inherit" });
});

test("publint finds nothing in the tarball", () => {
  const unpacked = join(app, "unpacked");
  execFileSync("mkdir", ["-p", unpacked]);
  execFileSync("tar", ["-xzf", tarball, "-C", unpacked]);
  const out = execFileSync(join(tools, "publint"), ["run", join(unpacked, "package"), "--strict"], {
    encoding: "utf8",
  });
  assert.match(out, /All good/u);
});
