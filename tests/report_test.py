#!/usr/bin/python3
"""torvane --report as a surveyor runs it, with no display and
QT_QPA_PLATFORM unset: the PDF read back with poppler's tools (pdftotext,
pdffonts, pdfinfo, pdftoppm), figure for figure against what
`torvane-cli solve --points` prints for the same points; the HTML likewise,
and the same as `torvane-cli solve --report` writes; the usage errors and
failures with their exit statuses.

Usage: report_test.py TORVANE TORVANE_CLI EXAMPLES WORK_DIR FONTS_DIR
FONTS_DIR holds the fontconfig files of cmake/test_fonts.cmake; the
environment's FONTCONFIG_FILE names the fonts of the main cases.
(exit status 1 on a fault, each named)
"""
import hashlib
import json
import math
import os
import random
import re
import shutil
import subprocess
import sys
from pathlib import Path

TORVANE, CLI, EXAMPLES, WORK, FONTS = (Path(a) for a in sys.argv[1:6])
faults = []


def fault(case, message):
    faults.append(f"{case}: {message}")


def no_display():
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    return env


def own_errors(stderr):
    """Standard error without Qt's note on a session with no runtime folder
    (root, cron), which is the environment's and not the program's."""
    return "".join(line for line in stderr.splitlines(True)
                   if not line.startswith("QStandardPaths: XDG_RUNTIME_DIR not set"))


def run(args, env=None):
    return subprocess.run([str(a) for a in args], capture_output=True, text=True, env=env,
                          timeout=120)


def cli_figures(source, options):
    """The figures `torvane-cli solve` prints for `source` (--points=FILE or
    --project=FILE), in the report's order: parameters, inverse, every row,
    then the statistics."""
    out = run([CLI, "solve", source, *options])
    if out.returncode != 0:
        raise RuntimeError(f"torvane-cli: {out.stderr}")
    lines = out.stdout.splitlines()
    params = lines[0].split()
    rotation = re.search(r"Rotation: (\S+) = (\S+)° \(turned with pi = \S+: (\S+)°\)", out.stdout)
    figures = params[:3] + list(rotation.groups()) + params[3:]
    scale = re.search(r"Scale: \S+ = (\S+) ppm, standard error (\S+) ppm", out.stdout)
    if scale:
        figures += list(scale.groups())
    figures += re.search(r"Inverse: (.*?) \(", out.stdout).group(1).split()
    start = next(i for i, line in enumerate(lines) if line.startswith("point "))
    rows, checks = [], []
    for line in lines[start + 1:]:
        if line.startswith("RMS "):
            break
        # name, dX, dY, length, then wX wY ("-" for points out of the fit)
        # and the check / excluded mark, which the report says as the role;
        # the check points in a table of their own after the others, with
        # their coordinates and no wX, wY.
        fields = line.split()
        if fields[-1] == "check":
            checks.append(fields[0])
            figures_of_check = [f for f in fields[:-1] if f != "-"]
            rows.append((2, figures_of_check))
        else:
            rows.append((0, [f for f in fields if f != "excluded"]))
    for _, row in sorted(rows, key=lambda r: r[0]):
        figures += row
    rms = re.search(r"^RMS (\S+) mm, largest (\S+) (\S+) mm", out.stdout, re.M)
    figures += [rms.group(1), rms.group(3)]
    standardized = re.search(r"^Largest standardized residual (\S+) (\S+),", out.stdout, re.M)
    if standardized:
        figures.append(standardized.group(2))
    blunder = re.search(r"^Blunder test at 5 % for the \d+ points together \(Bonferroni\): "
                        r"F\(2, \d+\) (\S+),", out.stdout, re.M)
    if blunder:
        figures.append(blunder.group(1))
    rigid = re.search(r"RMS (\S+) mm rigid\nF = (\S+), F\(1, \d+\) at 95 %: (\S+):", out.stdout)
    if rigid:
        figures += list(rigid.groups())
    check = re.search(r"^Check points: RMS (\S+) mm, largest (\S+) (\S+) mm", out.stdout, re.M)
    if check:
        figures += [check.group(1), check.group(3)]
    return figures, checks


def controller_figures(source, options):
    """The four parameters as a controller takes them, worked out by hand
    from what `torvane-cli solve` prints: ΔN = X0, ΔE = Y0, the turn made to
    0.001″, the scale's ppm (0 for the rigid model); and the PROJ pipeline
    solve --format=proj prints, without its blanks."""
    out = run([CLI, "solve", source, *options]).stdout
    params = out.splitlines()[0].split()
    turn = float(re.search(r"\(turned with pi = \S+: (\S+)°\)", out).group(1))
    seconds = round(abs(turn) * 3600 * 1000) / 1000
    whole = int(seconds // 3600)
    minutes = int((seconds - whole * 3600) // 60)
    dms = f"{'-' if turn < 0 else ''}{whole}°{minutes:02d}′{seconds - whole * 3600 - minutes * 60:06.3f}″"
    scale = re.search(r"^Scale: \S+ = (\S+) ppm", out, re.M)
    proj = run([CLI, "solve", source, *options, "--format=proj"]).stdout.strip()
    return (["北向平移ΔN", params[0], "东向平移ΔE", params[1], "旋转角α（度分秒）", dms,
             scale.group(1) if scale else "0.000"], re.sub(r"\s", "", proj))


def first_missing(text, figures):
    """The first figure not found after the one before it, or None."""
    at = 0
    for figure in figures:
        found = text.find(figure, at)
        if found < 0:
            return f"{figure!r} (after {text[max(0, at - 40):at]!r})"
        at = found + len(figure)
    return None


def pdf_text(pdf, page=None):
    pages = ["-f", str(page), "-l", str(page)] if page else []
    return run(["pdftotext", "-layout", "-enc", "UTF-8", *pages, pdf, "-"]).stdout


def check_pdf(case, pdf, figures, names, checks, header):
    """The figures in order, every font embedded, every page numbered and
    headed by `header`, rendered, the table's heading on every page it goes
    over, every name once in the residual table or, for `checks`, the check
    points' table; the signature block at the end."""
    text = pdf_text(pdf)
    missing = first_missing(text, figures)
    if missing:
        fault(case, f"not in the PDF's text in order: {missing}")
    fonts = run(["pdffonts", pdf]).stdout.splitlines()[2:]
    if not fonts:
        fault(case, "no fonts")
    for font in fonts:
        if font.split()[-5] != "yes":
            fault(case, f"font not embedded: {font}")
    info = run(["pdfinfo", pdf]).stdout
    pages = int(re.search(r"Pages:\s+(\d+)", info).group(1))
    if "(A4)" not in info or not re.search(r"Creator:\s+Torvane", info):
        fault(case, f"not A4 by Torvane: {info}")
    rows = 0
    for page in range(1, pages + 1):
        page_text = pdf_text(pdf, page)
        unspaced = re.sub(r"\s", "", page_text)
        if not unspaced.endswith(f"第{page}页/共{pages}页"):
            fault(case, f"page {page} is not numbered of {pages}: {unspaced[-40:]!r}")
        if not unspaced.startswith(re.sub(r"\s", "", header)):
            fault(case, f"page {page} is not headed {header!r}: {unspaced[:40]!r}")
        table = len(re.findall(r"^\s*(?:参与平差|不用)\s+\S+\s+-?\d+\.\d{3}\s", page_text, re.M))
        headings = len(re.findall(r"类别\s+点名\s+dX \(mm\)", page_text))
        if table and headings != 1:
            fault(case, f"page {page}: the table's heading {headings} times")
        rows += table
    checked = 0
    for name in names:
        row = (rf"^\s*{re.escape(name)}(\s+-?\d+(\.\d+)?){{7}}\s*$" if name in checks
               else rf"^\s*\S+\s+{re.escape(name)}\s+-?\d")
        if len(re.findall(row, text, re.M)) != 1:
            fault(case, f"point {name} not once in its table")
        checked += name in checks
    if rows + checked != len(names):
        fault(case, f"{rows} + {checked} rows in the tables for {len(names)} points")
    signed = "签字计算姓名：张工日期：检查姓名：日期：审核姓名：日期："
    if not re.sub(r"\s", "", pdf_text(pdf, pages)).endswith(signed + f"第{pages}页/共{pages}页"):
        fault(case, "the last page does not end in the signature block")
    shutil.rmtree(WORK / "png", ignore_errors=True)
    (WORK / "png").mkdir()
    run(["pdftoppm", "-r", "20", "-png", pdf, WORK / "png" / "page"])
    if len(list((WORK / "png").iterdir())) != pages:
        fault(case, f"pdftoppm rendered {len(list((WORK / 'png').iterdir()))} of {pages} pages")
    return pages


def random_site(seed, count, scaled):
    """A site of `count` points on grids turned, moved and (for `scaled`)
    scaled against each other, with a few millimetres of noise; the file's path."""
    rng = random.Random(seed)
    theta = rng.uniform(0, 2 * math.pi)
    k = 1 + rng.uniform(-300, 300) * 1e-6 if scaled else 1
    x0, y0 = rng.uniform(2e6, 4e6), rng.uniform(3e5, 6e5)
    lines = []
    for i in range(count):
        x, y = rng.uniform(-50, 900), rng.uniform(-50, 900)
        sx = x0 + k * (x * math.cos(theta) - y * math.sin(theta)) + rng.gauss(0, 0.004)
        sy = y0 + k * (x * math.sin(theta) + y * math.cos(theta)) + rng.gauss(0, 0.004)
        lines.append(f"S{seed}-{i + 1},{sx:.3f},{sy:.3f},{x:.3f},{y:.3f}")
    path = WORK / f"site{seed}.csv"
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")
    return path


def names_of(points):
    return [line.split(",")[0].strip() for line in Path(points).read_text().splitlines()]


def coordinates_of(points):
    """Each point's Xs, Ys, Xc and Yc as its line writes them, run together:
    side by side in either table of the report."""
    return ["".join(f.strip() for f in line.split(",")[1:5])
            for line in Path(points).read_text().splitlines()]


def main():
    WORK.mkdir(parents=True, exist_ok=True)
    example = EXAMPLES / "control-points.csv"
    # Each row: case, points file, options for both programs; the figures
    # come from torvane-cli, the file from torvane.
    cases = [("README's example", example, []),
             ("README's example, K5 a check point", example, ["--check-points=K5"]),
             ("README's example, four parameters", example,
              ["--model=similarity", "--check-points=K5", "--exclude=K2"])]
    for seed in range(1, 5):
        scaled = seed % 2 == 0
        points = random_site(seed, 6 + 2 * seed, scaled)
        names = names_of(points)
        cases.append((f"random site {seed}", points,
                      [f"--model={'similarity' if scaled else 'rigid'}",
                       f"--check-points={names[1]},{names[3]}", f"--exclude={names[2]}"]))
    big = random_site(300, 300, True)
    cases.append(("300 points", big, ["--model=similarity", "--check-points=S300-150"]))
    cases = [(case, f"--points={points}", options, points) for case, points, options in cases]
    # A project, saved by the command line from random site 2.
    project = WORK / "site.torvane"
    project.unlink(missing_ok=True)
    run([CLI, "solve", f"--points={WORK / 'site2.csv'}", "--model=similarity",
         "--check-points=S2-2", "--exclude=S2-3", f"--save-project={project}"])
    cases.append(("project", f"--project={project}", [], WORK / "site2.csv"))
    for case, source, options, points in cases:
        names = names_of(points)
        figures, checks = cli_figures(source, options)
        controller, proj = controller_figures(source, options)
        site = (json.loads(project.read_text(encoding="utf-8"))["site"] if case == "project"
                else Path(source.split("=", 1)[1]).stem)
        header = f"工程：{site}　坐标转换参数计算报告"
        pdf = WORK / "report.pdf"
        pdf.unlink(missing_ok=True)
        out = run([TORVANE, f"--report={pdf}", source, *options, "--operator=张工"],
                  env=no_display())
        if out.returncode != 0 or own_errors(out.stderr).strip():
            fault(case, f"exit {out.returncode}: {out.stderr}")
            continue
        pages = check_pdf(case, pdf, ["坐标转换参数计算报告", "张工"] + figures, names, checks,
                          header)
        unspaced = re.sub(r"\s", "", pdf_text(pdf))
        missing = first_missing(unspaced, controller + [proj])
        if missing:
            fault(case, f"the controller's parameters or the pipeline: {missing}")
        # Each point's coordinates as its file (or the project saved from
        # it) writes them: "250.000" was shown as "250".
        missing = [row for row in coordinates_of(points) if row not in unspaced]
        if missing:
            fault(case, f"coordinates not as written: {missing[:3]}")
        if case == "300 points" and pages < 6:
            fault(case, f"300 rows on {pages} pages")
        html = WORK / "report.html"
        out = run([TORVANE, f"--report={html}", source, *options, "--operator=张工"],
                  env=no_display())
        text = html.read_text(encoding="utf-8") if out.returncode == 0 else ""
        missing = first_missing(text, figures)
        if out.returncode != 0 or missing or "<svg" not in text:
            fault(case, f"HTML: exit {out.returncode} {out.stderr}; missing {missing}")
        # The command line's HTML, byte for byte but for the time it was made.
        cli_html = WORK / "cli.html"
        run([CLI, "solve", source, *options, f"--report={cli_html}", "--operator=张工"])
        undated = lambda t: re.sub(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", "", t)
        if undated(text) != undated(cli_html.read_text(encoding="utf-8")):
            fault(case, "HTML differs from torvane-cli solve --report's")

    # Each font set alone (cmake/test_fonts.cmake): the exit status, the
    # Chinese font as pdffonts prints it, what standard error says, and
    # whether the text reads back. Noto Sans CJK draws 工 日 页 … with the
    # glyphs of the radicals ⼯ ⽇ ⻚ (fontTools: cmap U+2F2F and U+5DE5 both
    # cid16644), which Qt's PDF writer names by the lower code point, and
    # substitutes the digit after a letter (K1 read back as K); it is chosen
    # only when no other Chinese font is there, and its 11 characters that
    # share a glyph with another (〈 〉 …) are named.
    font_sets = [
        ("wqy", 0, "WenQuanYiMicroHei", "", True),
        ("noto", 0, "NotoSansCJKsc-Regular", "字体“Noto Sans CJK SC”把 11 个字", True),
        ("latin", 1, None, "没有安装简体中文字体，中文会显示成方框。请安装字体：Debian、Ubuntu 上 "
         "sudo apt install fonts-wqy-microhei（或 fonts-noto-cjk）", False),
    ]
    figures, checks = cli_figures(f"--points={example}", [])
    for name, status, font, said, reads_back in font_sets:
        case = f"fonts {name}"
        pdf = WORK / f"fonts-{name}.pdf"
        pdf.unlink(missing_ok=True)
        env = no_display()
        env["FONTCONFIG_FILE"] = str(FONTS / f"{name}.conf")
        out = run([TORVANE, f"--report={pdf}", f"--points={example}", "--operator=张工"], env=env)
        if out.returncode != status or said not in out.stderr or (said == "") != (
                own_errors(out.stderr) == ""):
            fault(case, f"exit {out.returncode}, want {status} and {said!r}: {out.stderr}")
        if font is None:
            if pdf.exists():
                fault(case, "a PDF was written with no Chinese font")
            continue
        names = [line.split()[0] for line in run(["pdffonts", pdf]).stdout.splitlines()[2:]]
        if font not in names:
            fault(case, f"no {font} in {names}")
        if reads_back:
            check_pdf(case, pdf, ["坐标转换参数计算报告", "工程", "张工", "日期时间"] + figures,
                      names_of(example), checks, f"工程：{example.stem}　坐标转换参数计算报告")

    # Usage errors (2) and failures (1): the message, in Chinese, names the
    # option or the file, line and field; nothing is written.
    bad = WORK / "bad.csv"
    bad.write_text("A,1,2,3,4\nB,5,6,7,8\nC,12a.5,6,7,8\n", encoding="utf-8")
    # Names alike but for the blanks around them: one point counted twice.
    twice = WORK / "twice.torvane"
    point = '{{"name": "{}", "role": "fit", "xs": "{}", "ys": "2000", "xc": "{}", "yc": "0"}}'
    twice.write_text(
        '{"format": "torvane-project", "version": 1, "site": "", "notes": "", "model": "rigid", '
        '"height_offset": null, "layout": {"columns": "name,x,y,h", "delimiter": "comma", '
        '"skip_lines": 0, "encoding": null}, "parameters": null, "points": ['
        + point.format("K1", 1000, 0) + ", " + point.format("K2", 1100, 100) + ", "
        + point.format(" K1", 1200, 200) + "]}\n", encoding="utf-8")
    # A number beyond doubles in a member Torvane ignores; a site's name of
    # 20 MB, beyond the 4 MiB a project may hold: told, never an abort.
    beyond = WORK / "beyond.torvane"
    beyond.write_text('{"format": "torvane-project", "version": 1, "skip_lines": 1e400}\n',
                      encoding="utf-8")
    huge = WORK / "huge.torvane"
    huge.write_text('{"format": "torvane-project", "version": 1, "site": "' + "x" * (20 << 20)
                    + '"}\n', encoding="utf-8")
    out_pdf = WORK / "refused.pdf"
    (WORK / "folder.pdf").mkdir(exist_ok=True)
    refusals = [
        ([f"--report={out_pdf}"], 2, "须给出 --points 或 --project 之一"),
        ([f"--report={WORK / 'r.txt'}", f"--points={example}"], 2, "不以 .pdf、.html 或 .htm 结尾"),
        ([f"--report={out_pdf}", f"--points={example}", "--model=affine"], 2,
         "--model：“affine”不是 rigid 或 similarity"),
        # A long value is quoted by its first 60 bytes and its length.
        ([f"--report={out_pdf}", f"--points={example}", "--model=" + "y" * 128], 2,
         "--model：“" + "y" * 60 + "... (128 bytes)”不是 rigid 或 similarity"),
        ([f"--report={out_pdf}", f"--points={example}", "--" + "y" * 128], 2,
         "未知的选项“--" + "y" * 58 + "... (130 bytes)”"),
        ([f"--report={out_pdf}", f"--points={example}", "--check-points=K9"], 2,
         f"--check-points：“K9”不是 {example} 中的点名"),
        ([f"--report={out_pdf}", f"--points={example}", "--check-points=K5", "--exclude=K5"], 2,
         "--check-points：“K5”也给了 --exclude"),
        ([f"--report={out_pdf}", f"--points={example}", "--colour=red"], 2, "未知的选项“--colour”"),
        ([f"--report={example.with_suffix('.pdf')}", f"--points={example}", "--points=x"], 2,
         "--points 给了不止一次"),
        ([f"--report={out_pdf}", f"--points={bad}"], 1, "第 3 行的 Xs 坐标“12a.5”不是数字"),
        ([f"--report={out_pdf}", f"--points={example}", "--exclude=K1,K2", "--check-points=K3,K4"],
         1, "参与平差的点不足两个"),
        ([f"--report={out_pdf}", f"--points={WORK / 'none.csv'}"], 1, "none.csv"),
        ([f"--report={WORK / 'folder.pdf'}", f"--points={example}"], 1, "是文件夹，报告未写出"),
        ([f"--report={out_pdf}", f"--project={twice}"], 1,
         "第 3 个点的点名“K1”与第 1 个点相同（点名两端的空白不计）"),
        ([f"--report={out_pdf}", f"--project={beyond}"], 1,
         "的内容有误：damaged JSON: a number is beyond the range of doubles"),
        ([f"--report={out_pdf}", f"--project={huge}"], 1,
         "太大，不是项目文件：项目文件最多 4194304 字节。"),
    ]
    for args, status, message in refusals:
        out = run([TORVANE, *args], env=no_display())
        if out.returncode != status or message not in out.stderr or out_pdf.exists():
            fault(" ".join(args), f"exit {out.returncode}, want {status} and {message!r}: "
                  f"{out.stderr}")

    # The size and SHA-256 are hashlib's of the bytes read for the fit, from
    # standard input (named so; it was refused) and from a pipe named
    # /dev/stdin (it gave 0 bytes and the SHA-256 of nothing, read again).
    data = example.read_bytes()
    for points, name in (("-", "（标准输入）"), ("/dev/stdin", "/dev/stdin")):
        html = WORK / "piped.html"
        html.unlink(missing_ok=True)
        out = subprocess.run([str(TORVANE), f"--report={html}", f"--points={points}"], input=data,
                             capture_output=True, env=no_display(), timeout=120)
        text = html.read_text(encoding="utf-8") if out.returncode == 0 else out.stderr.decode()
        want = (f'<td class="file">{name}</td><td class="size">{len(data)}</td>'
                f'<td class="sha256">{hashlib.sha256(data).hexdigest()}</td>')
        if want not in text:
            fault(f"--points={points}", f"want {want}: exit {out.returncode} {text[-300:]}")

    for line in faults:
        print(line)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
