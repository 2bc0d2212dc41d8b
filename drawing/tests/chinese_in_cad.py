#!/usr/bin/env python3
"""The drawings' Chinese as CAD programs without the Chinese drafting fonts
show it.

wormcalc writes the worked example's wheel drawing as DXF; two independent
renderers draw it, and the Chinese must come out as Chinese characters, not
as the boxes and diamonds of a font that lacks them:

- LibreCAD's console mode (librecad dxf2pdf) takes a text's font by the name
  of its style and knows only its own stroke fonts. The Chinese font its
  builds for Windows, macOS and other distributions ship, wqy-unicode.lff,
  is made from WenQuanYi Micro Hei; Debian's package leaves it out. The test
  makes that font the same way (each glyph's outline as strokes, by
  fontTools) for the characters of the drawing, in a LibreCAD home of its
  own, and renders the drawing with it and without it: the Chinese texts
  must differ, and the drawing rewritten with the old drafting-font style
  must look as it does without the font. (The PDF carries no text, the
  pictures are compared.)
- ezdxf's drawing add-on through matplotlib (texts as outlines): with the
  machine's Chinese font standing in for the style's SimSun, as a Chinese
  desktop's font setup has it, the Chinese texts must differ from those
  drawn without it, and the old style's must not.

    chinese_in_cad.py WORMCALC [PICTURES]   (PICTURES: a folder to leave the pictures in)

Exit status 0 when every check passes, 1 when one fails, 77 (skipped) when
LibreCAD, ezdxf with matplotlib, fontTools, poppler or the WenQuanYi font
is missing.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
WQY = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
WORKED_EXAMPLE = ["--centre-distance", "200", "--speed-ratio", "25", "--teeth", "50", "--starts", "2",
                  "--base-diameter", "130", "--pitch-diameter", "78"]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def skip(reason):
    print(f"SKIP: {reason} (scripts/install-deps.sh --test installs it)")
    sys.exit(SKIP)


for tool in ("librecad", "pdftoppm"):
    if shutil.which(tool) is None:
        skip(f"{tool} is not installed")
if not os.path.exists(WQY):
    skip("fonts-wqy-microhei is not installed")
try:
    import ezdxf
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as pyplot
    from ezdxf.addons.drawing import Frontend, RenderContext
    from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
    from ezdxf.tools import fonts as ezdxf_fonts
    from fontTools.pens.basePen import BasePen
    from fontTools.ttLib import TTCollection
    from PIL import Image, ImageChops
except ImportError as error:
    skip(f"a Python module is missing: {error.name} (python3-ezdxf, python3-matplotlib, python3-fonttools)")


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


class StrokePen(BasePen):
    """A glyph's outline as polylines, its curves in short straight pieces."""

    def __init__(self, glyphs, scale):
        super().__init__(glyphs)
        self.scale, self.lines, self.current = scale, [], []

    def point(self, p):
        return (round(p[0] * self.scale, 3), round(p[1] * self.scale, 3))

    def _moveTo(self, p):
        self.current = [self.point(p)]
        self.start = p

    def _lineTo(self, p):
        self.current.append(self.point(p))

    def _curveToOne(self, p1, p2, p3):
        p0 = self._getCurrentPoint()
        for i in range(1, 5):
            t = i / 4
            self.current.append(self.point(tuple(
                (1 - t) ** 3 * a + 3 * (1 - t) ** 2 * t * b + 3 * (1 - t) * t * t * c + t ** 3 * d
                for a, b, c, d in zip(p0, p1, p2, p3))))

    def _qCurveToOne(self, p1, p2):
        p0 = self._getCurrentPoint()
        for i in range(1, 5):
            t = i / 4
            self.current.append(self.point(tuple(
                (1 - t) ** 2 * a + 2 * (1 - t) * t * b + t * t * c for a, b, c in zip(p0, p1, p2))))

    def _closePath(self):
        self.current.append(self.point(self.start))
        self.lines.append(self.current)

    _endPath = _closePath


def make_librecad_font(characters, path):
    """A LibreCAD font (LFF) of WenQuanYi Micro Hei's outlines for these
    characters, its capitals 9 units high as LibreCAD's fonts have them."""
    font = TTCollection(WQY).fonts[0]
    cmap, glyphs = font.getBestCmap(), font.getGlyphSet()
    scale = 9 / (0.75 * font["head"].unitsPerEm)
    with open(path, "w", encoding="utf-8") as out:
        out.write("# Format:            LibreCAD Font 1\n# Name:              wqy-unicode\n"
                  "# Encoding:          UTF-8\n# LetterSpacing:     3\n# WordSpacing:       6.75\n"
                  "# LineSpacingFactor: 1\n\n")
        for character in sorted(characters):
            if ord(character) not in cmap:
                continue
            pen = StrokePen(glyphs, scale)
            glyphs[cmap[ord(character)]].draw(pen)
            out.write(f"[{ord(character):04x}] {character}\n")
            for line in pen.lines:
                out.write(";".join(f"{x},{y}" for x, y in line) + "\n")
            out.write("\n")


def librecad_picture(dxf, home, folder, name):
    """The drawing as LibreCAD prints it, as a picture."""
    target = os.path.join(folder, name)
    os.makedirs(target, exist_ok=True)
    environment = dict(os.environ, HOME=home, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=home)
    result = run(["librecad", "dxf2pdf", "-a", "-m", "-t", target, dxf], env=environment, timeout=120)
    pdf = os.path.join(target, os.path.splitext(os.path.basename(dxf))[0] + ".pdf")
    if not check(result.returncode == 0 and os.path.exists(pdf), f"librecad dxf2pdf failed: {result.stderr[-500:]}"):
        return None
    run(["pdftoppm", "-png", "-r", "150", "-singlefile", pdf, os.path.join(target, "page")])
    return Image.open(os.path.join(target, "page.png")).convert("L")


def differing_pixels(a, b):
    difference = ImageChops.difference(a, b).point(lambda v: 255 if v > 64 else 0)
    return sum(1 for v in difference.getdata() if v)


def with_old_style(dxf, path, style):
    """The drawing as it was written before: every text in the drafting-font
    style GB (the style group of each TEXT entity rewritten)."""
    with open(dxf, "rb") as file:
        lines = file.read().split(b"\n")
    for i in range(1, len(lines), 2):
        if lines[i - 1].strip() == b"7" and lines[i].strip() == style.encode():
            lines[i] = b"GB"
    with open(path, "wb") as file:
        file.write(b"\n".join(lines))


def ezdxf_picture(dxf, path):
    """The drawing as ezdxf's drawing add-on paints it through matplotlib
    (its texts as outlines), in grey."""
    doc = ezdxf.readfile(dxf)
    figure = pyplot.figure(figsize=(11.69, 8.27))
    axes = figure.add_axes([0, 0, 1, 1])
    Frontend(RenderContext(doc), MatplotlibBackend(axes)).draw_layout(doc.modelspace(), finalize=True)
    figure.savefig(path, dpi=150)
    pyplot.close(figure)
    return Image.open(path).convert("L")


def main():
    wormcalc = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        dxf = os.path.join(folder, "wheel.dxf")
        result = run([wormcalc] + WORKED_EXAMPLE + ["--drawing-wheel", dxf])
        if not check(result.returncode == 0, f"wormcalc failed: {result.stderr}"):
            return 1
        doc = ezdxf.readfile(dxf)
        chinese = [t for t in doc.modelspace().query("TEXT") if re.search(r"[\u4e00-\u9fff]", t.dxf.text)]
        check(len(chinese) >= 10, f"{len(chinese)} Chinese texts")
        style = doc.styles.get(chinese[0].dxf.style)
        check(all(t.dxf.style == style.dxf.name for t in chinese) and style.dxf.font.lower().endswith(".ttc"),
              f"the Chinese texts are in the style {style.dxf.name} of the font {style.dxf.font}")
        check("GB" in doc.styles and doc.styles.get("GB").dxf.font == "gbenor.shx"
              and doc.styles.get("GB").dxf.bigfont == "gbcbig.shx", "no drafting-font style GB")
        check(all(t.dxf.style == "GB" for t in doc.modelspace().query("TEXT") if t not in chinese
                  and re.fullmatch(r"[ -~]*", t.dxf.text)), "a text of Latin letters is not in the style GB")

        # LibreCAD, with its Chinese font in a home of the test's own and without it.
        characters = {c for t in doc.modelspace().query("TEXT") for c in t.dxf.text if ord(c) > 127}
        with_font, without_font = os.path.join(folder, "home"), os.path.join(folder, "bare")
        os.makedirs(os.path.join(with_font, ".librecad", "fonts"))
        os.makedirs(without_font)
        make_librecad_font(characters, os.path.join(with_font, ".librecad", "fonts", "wqy-unicode.lff"))
        old = os.path.join(folder, "old.dxf")
        with_old_style(dxf, old, style.dxf.name)
        shown = librecad_picture(dxf, with_font, folder, "shown")
        bare = librecad_picture(dxf, without_font, folder, "bare")
        old_shown = librecad_picture(old, with_font, folder, "old")
        if shown and bare and old_shown:
            changed = differing_pixels(shown, bare)
            check(changed > 2000, f"LibreCAD draws the Chinese texts alike with and without its Chinese font "
                                  f"({changed} pixels differ)")
            same = differing_pixels(old_shown, bare)
            check(same < changed / 20, f"the drafting-font style shows Chinese in LibreCAD ({same} pixels)")

        # ezdxf's renderer, without a font for SimSun and with the machine's
        # Chinese font standing in for it.
        plain_new = ezdxf_picture(dxf, os.path.join(folder, "ezdxf-plain.png"))
        face = ezdxf_fonts.FontFace(ttf="wqy-microhei.ttc", family="WenQuanYi Micro Hei")
        ezdxf_fonts.font_face_cache[ezdxf_fonts.cache_key(style.dxf.font)] = face
        chinese_new = ezdxf_picture(dxf, os.path.join(folder, "ezdxf-chinese.png"))
        chinese_old = ezdxf_picture(old, os.path.join(folder, "ezdxf-old.png"))
        changed = differing_pixels(chinese_new, plain_new)
        check(changed > 2000, f"ezdxf draws the Chinese texts alike with and without a Chinese font ({changed} pixels)")
        same = differing_pixels(chinese_old, plain_new)
        check(same < changed / 20, f"the drafting-font style shows Chinese in ezdxf ({same} pixels)")
        if len(sys.argv) > 2:  # the pictures, for review
            os.makedirs(sys.argv[2], exist_ok=True)
            for picture in ("shown/page.png", "bare/page.png", "ezdxf-chinese.png", "ezdxf-plain.png"):
                if os.path.exists(os.path.join(folder, picture)):
                    shutil.copy(os.path.join(folder, picture), os.path.join(sys.argv[2], "librecad-" + picture.replace(
                        "/page", "") if "/" in picture else picture))

    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
