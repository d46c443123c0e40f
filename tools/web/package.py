#!/usr/bin/env python3
"""Packs the browser build: build-web/site/ for any static web server, and
build-web/trelvano.html, the whole program in one file that opens from a disk
or a USB stick with no server.

    python3 tools/web/package.py --module DIR --simd-module DIR [--threads-module DIR] [--out build-web]

DIR holds the module the wasm build wrote (trelvano.js, trelvano.wasm), and
the same with WebAssembly's vectors (trelvano-simd.js, trelvano-simd.wasm);
both go into the site and the single file, where the page takes the one the
browser can run. The threads' module (trelvano-threads.js, .wasm, .worker.js)
joins the site only, as a file from a disk is never isolated enough to run
it. Prints
the site's transfer size (each file gzipped, as a server sends it) and the
single file's size, and fails when either is over its limit.
"""

import argparse
import base64
import gzip
import hashlib
import json
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
PAGE = ROOT / "web" / "page"
# The page's tools, installed by npm ci from their lock file (tools/web/npm-ci.sh).
NODE_TOOLS = ROOT / "tests" / "web" / "e2e"
ENTRY = "page.js"  # the module that imports every other page script
FONT_DIR = Path("/usr/share/fonts/truetype/dejavu")
FONTS = {"DejaVuSansCondensed": "DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold": "DejaVuSansCondensed-Bold.ttf"}

SITE_LIMIT = 1_500_000  # bytes, gzipped
SINGLE_LIMIT = 3_000_000  # bytes

MIME = {
    ".png": "image/png",
    ".svg": "image/svg+xml",
    ".woff2": "font/woff2",
}


def fail(message):
    print(f"package: {message}", file=sys.stderr)
    sys.exit(1)


# ---- Fonts ----------------------------------------------------------------


def text_characters():
    """Every character beyond ASCII that the engine's sources hold: the texts
    the windows, messages and readouts can show are among them."""
    found = set()
    for source in (ROOT / "engine").rglob("*"):
        if source.suffix in (".h", ".cpp"):
            found.update(ch for ch in source.read_text(encoding="utf-8") if ord(ch) > 0x7E)
    return found


def subset_fonts(out_dir):
    import logging

    from fontTools import subset

    logging.getLogger("fontTools").setLevel(logging.ERROR)

    # Latin-1 whole, for whatever a user types; then what the texts need.
    codepoints = set(range(0x20, 0x7F)) | set(range(0xA0, 0x100)) | {ord(ch) for ch in text_characters()}
    out_dir.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        for name, file in FONTS.items():
            source = FONT_DIR / file
            if not source.exists():
                fail(f"{source} is missing (Debian's fonts-dejavu-core)")
            options = subset.Options()
            options.layout_features = ["kern", "liga"]
            options.hinting = False
            options.desubroutinize = True
            options.name_IDs = ["*"]  # the licence travels with the font
            font = subset.load_font(str(source), options)
            subsetter = subset.Subsetter(options)
            subsetter.populate(unicodes=codepoints)
            subsetter.subset(font)
            ttf = Path(scratch) / f"{name}.ttf"
            subset.save_font(font, str(ttf), options)
            # fontTools writes WOFF2 only with the brotli module, which Debian
            # leaves out; its woff2 tools do the same.
            subprocess.run(["woff2_compress", str(ttf)], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            shutil.copy(ttf.with_suffix(".woff2"), out_dir / f"{name}.woff2")


# ---- Icons ----------------------------------------------------------------


def png(width, height, rows):
    """A truecolour PNG with alpha from rows of (r, g, b, a) tuples."""
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def xpm_to_png(path):
    """The windows' own 16-colour icons, as the desktop shows them."""
    strings = re.findall(r'"([^"]*)"', path.read_text())
    width, height, colours, per_pixel = (int(v) for v in strings[0].split()[:4])
    palette = {}
    for line in strings[1 : 1 + colours]:
        key, fields = line[:per_pixel], line[per_pixel:].split()
        value = fields[fields.index("c") + 1]
        if value.lower() == "none":
            palette[key] = (0, 0, 0, 0)
        else:
            palette[key] = tuple(int(value[i : i + 2], 16) for i in (1, 3, 5)) + (255,)
    rows = []
    for line in strings[1 + colours : 1 + colours + height]:
        rows.append([palette[line[i : i + per_pixel]] for i in range(0, width * per_pixel, per_pixel)])
    return png(width, height, rows)


def write_icons(out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    (out_dir / "application-16.png").write_bytes(xpm_to_png(ROOT / "ui" / "icons" / "trelvano-16.xpm"))
    (out_dir / "spectrum-16.png").write_bytes(xpm_to_png(ROOT / "ui" / "icons" / "spettro-16.xpm"))
    for name in ("trelvano-32.png", "trelvano-128.png", "trelvano-256.png", "trelvano.svg"):
        shutil.copy(ROOT / "packaging" / "icons" / name, out_dir / name)


# ---- The site -------------------------------------------------------------


def bundle(target):
    """The page's modules as one, by the imports from the entry: one request
    and one version for the browser's cache, and the script the single file
    inlines. esbuild is the lock file's, never one fetched now."""
    if not (NODE_TOOLS / "node_modules" / ".bin" / "esbuild").exists():
        fail("esbuild is missing: run tools/web/npm-ci.sh first")
    command = ["npx", "--no-install", "esbuild", str(PAGE / ENTRY), "--bundle", "--format=esm", f"--outfile={target.resolve()}", "--log-level=warning"]
    if subprocess.run(command, cwd=NODE_TOOLS).returncode != 0:
        fail(f"esbuild could not bundle {PAGE / ENTRY}")


def copy_module(module, names, site):
    for name in names:
        if not (module / name).exists():
            fail(f"{module / name} is missing: build the module first")
        shutil.copy(module / name, site / name)


def build_site(site, module, simd_module, threads_module):
    if site.exists():
        shutil.rmtree(site)
    site.mkdir(parents=True)
    for name in ["index.html", "worker.js", "style.css", "manifest.webmanifest"]:
        shutil.copy(PAGE / name, site / name)
    bundle(site / ENTRY)
    copy_module(module, ("trelvano.js", "trelvano.wasm"), site)
    copy_module(simd_module, ("trelvano-simd.js", "trelvano-simd.wasm"), site)
    if threads_module:
        copy_module(threads_module, ("trelvano-threads.js", "trelvano-threads.wasm", "trelvano-threads.worker.js"), site)
    subset_fonts(site / "fonts")
    write_icons(site / "icons")

    files = sorted(p.relative_to(site).as_posix() for p in site.rglob("*") if p.is_file())
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0" + (site / name).read_bytes())
    version = digest.hexdigest()[:16]

    # A browser's own cache must not pair a new page with an old script.
    index = (site / "index.html").read_text()
    index = index.replace('href="style.css"', f'href="style.css?v={version}"')
    index = index.replace(f'src="{ENTRY}"', f'src="{ENTRY}?v={version}"')
    (site / "index.html").write_text(index)

    worker = (PAGE / "sw.js").read_text()
    worker = worker.replace("@VERSION@", version).replace("/* @FILES@ */ []", json.dumps(["./"] + files))
    (site / "sw.js").write_text(worker)
    return version


def transfer_size(site):
    total = 0
    for path in site.rglob("*"):
        if path.is_file():
            total += len(gzip.compress(path.read_bytes(), compresslevel=9, mtime=0))
    return total


# ---- The single file ------------------------------------------------------


def data_url(path):
    mime = MIME.get(path.suffix)
    if mime is None:
        fail(f"no media type for {path}")
    return f"data:{mime};base64,{base64.b64encode(path.read_bytes()).decode()}"


def inline_script(text, what):
    # Nothing in a script element may close it early.
    if re.search(r"</script", text, re.IGNORECASE):
        fail(f"{what} holds '</script' and cannot be inlined")
    return text


def build_single(site, target):
    css = (site / "style.css").read_text()
    css = re.sub(r"url\(([^)]+)\)", lambda m: f"url({data_url(site / m.group(1).strip(chr(34) + chr(39)))})", css)

    # Both builds of the module, each with the worker behind its loader: the
    # page decodes only the one it starts, and a file from a disk is spared
    # the scalar cosines wherever the browser has vectors.
    modules = ""
    for name, suffix in (("trelvano", ""), ("trelvano-simd", "-simd")):
        worker_source = (site / f"{name}.js").read_text() + "\n" + (site / "worker.js").read_text()
        wasm = base64.b64encode((site / f"{name}.wasm").read_bytes()).decode()
        modules += (
            f'<script id="worker-source{suffix}" type="text/plain">{inline_script(worker_source, "the worker")}</script>\n'
            f'<script id="wasm-binary{suffix}" type="application/octet-stream">{wasm}</script>\n'
        )
    page = (site / ENTRY).read_text()

    html = (PAGE / "index.html").read_text()
    html = re.sub(r'\s*<link rel="manifest"[^>]*>', "", html)
    html = html.replace('href="icons/trelvano-32.png"', f'href="{data_url(site / "icons" / "trelvano-32.png")}"')
    html = html.replace('<link rel="stylesheet" href="style.css">', f"<style>\n{css}</style>")
    entry = f'<script type="module" src="{ENTRY}"></script>'
    if entry not in html:
        fail(f"index.html loads no {entry}")
    html = html.replace(f"\n{entry}", "")
    # The worker's source and the module ride along as inert script elements
    # the page reads; the page's bundle, a module, runs once the document is
    # parsed, wherever it stands, and stands last as the scripts did.
    tail = modules + f'<script type="module">{inline_script(page, "the page bundle")}</script>\n</body>'
    html = html.replace("</body>", tail, 1)
    target.write_text(html)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--module", required=True, type=Path, help="where trelvano.js and trelvano.wasm are")
    parser.add_argument("--simd-module", required=True, type=Path, help="where trelvano-simd.js and trelvano-simd.wasm are")
    parser.add_argument("--threads-module", type=Path, help="where trelvano-threads.js and its wasm and worker are")
    parser.add_argument("--out", default=ROOT / "build-web", type=Path)
    args = parser.parse_args()

    site = args.out / "site"
    single = args.out / "trelvano.html"
    version = build_site(site, args.module, args.simd_module, args.threads_module)
    build_single(site, single)

    site_gz = transfer_size(site)
    single_size = single.stat().st_size
    print(f"web: site {site} version {version}: {site_gz / 1e6:.3f} MB gzipped (limit {SITE_LIMIT / 1e6:.1f} MB)")
    print(f"web: single file {single}: {single_size / 1e6:.3f} MB (limit {SINGLE_LIMIT / 1e6:.1f} MB)")
    if site_gz > SITE_LIMIT or single_size > SINGLE_LIMIT:
        fail("over the size limit")


if __name__ == "__main__":
    main()
