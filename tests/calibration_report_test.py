#!/usr/bin/python3
"""solve --report's HTML read back against solve's text report of the same
points: the README's example and random sites, both models, with check and
excluded points, from a points file and from a project.

Usage: calibration_report_test.py TORVANE_CLI EXAMPLES_DIR WORK_DIR

Every figure of the HTML must be the text solve prints for it (the twice-RMS
limit, which solve does not print, twice its RMS), every point in its row,
the input file's size and SHA-256 those of os.stat and hashlib, the default
operator the login name pwd gives, nothing fetched from elsewhere, and the
plot one SVG element that xml.etree reads.
"""
import hashlib
import math
import html.parser
import os
import pwd
import random
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

CLI, EXAMPLES, WORK = (os.path.abspath(a) for a in sys.argv[1:4])


class Cells(html.parser.HTMLParser):
    """The text of every element with a class, by table id, row by row."""

    def __init__(self):
        super().__init__()
        self.tables, self.table, self.cls, self.text = {}, None, None, ''

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == 'table':
            self.table = self.tables.setdefault(attrs.get('id'), [])
        elif tag == 'tr' and self.table is not None:
            self.table.append({})
        elif tag in ('td', 'th') and 'class' in attrs:
            self.cls, self.text = attrs['class'], ''

    def handle_data(self, data):
        if self.cls:
            self.text += data

    def handle_endtag(self, tag):
        if tag in ('td', 'th') and self.cls:
            self.table[-1][self.cls] = self.text
            self.cls = None
        elif tag == 'table':
            self.table = None


def figures(cells, table):
    return {row['label']: (row['value'], row['unit']) for row in cells.tables[table] if row}


def text_report(args):
    """solve's text report, as the figures the HTML must hold."""
    out = subprocess.run([CLI, 'solve'] + args, capture_output=True, text=True, check=True).stdout
    first = out.split('\n')[0].split()
    rotation = re.search(r'^Rotation: (\S+) = (\S+)° \(turned with pi = (\S+): (\S+)°\)$', out, re.M)
    inverse = re.search(r'^Inverse: (\S+) (\S+) (\S+)( \d\S*)? \(', out, re.M)
    params = {'X0': (first[0], 'm'), 'Y0': (first[1], 'm'), 'θ': (first[2], 'ddd.mmss'),
              'θ dms': (rotation[1], ''), 'θ °': (rotation[2], '°'), 'turn': (rotation[4], '°')}
    inv = [(inverse[1], 'm'), (inverse[2], 'm'), (inverse[3], 'ddd.mmss')]
    if len(first) == 4:
        scale = re.search(r'^Scale: (\S+) = (\S+) ppm(, standard error (\S+) ppm)?$', out, re.M)
        params.update({'k': (first[3], ''), 'ppm': (scale[2], 'ppm'), 'error': (scale[4], 'ppm')})
        inv.append((inverse[4].strip(), ''))
    table = out.split('\npoint ')[1].split('\nRMS ')[0].split('\n')[1:]
    rms = re.search(r'^RMS (\S+) mm, largest (\S+) (\S+) mm$', out, re.M)
    stats = {'中误差': (rms[1], 'mm'), f'最大残差（{rms[2]}）': (rms[3], 'mm')}
    check = re.search(r'^Check points: RMS (\S+) mm, largest (\S+) (\S+) mm$', out, re.M)
    if check:
        stats.update({'检核点中误差': (check[1], 'mm'), f'检核点最大残差（{check[2]}）': (check[3], 'mm')})
    w = re.search(r'^Largest standardized residual (\S+) (\S+), ', out, re.M)
    if w:
        stats[f'最大标准化残差（{w[1]}）'] = (w[2], '')
    f = re.search(r'RMS (\S+) mm rigid\nF = (\S+), F\(1, (\d+)\) at 95 %: (\S+): ', out)
    if f:
        stats.update({'刚体转换中误差（同一组点）': (f[1], 'mm'), 'F': (f[2], ''),
                      f'F(1, {f[3]}) 的 95 % 分位数': (f[4], '')})
    blunder = re.search(r'^Blunder test at 5 % for the (\d+) points together \(Bonferroni\): '
                        r'(F\(2, \d+\)) (\S+),', out, re.M)
    if blunder:
        stats[f'剔除检验 {blunder[2]} 临界值（5 %，{blunder[1]} 点 Bonferroni 校正）'] = (blunder[3], '')
    return params, inv, [line.split() for line in table], stats


def dms(degrees):
    """Decimal degrees as a controller takes them, to 0.001″, by hand."""
    seconds = round(abs(degrees) * 3600 * 1000) / 1000
    whole = int(seconds // 3600)
    minutes = int((seconds - whole * 3600) // 60)
    rest = seconds - whole * 3600 - minutes * 60
    return f"{'-' if degrees < 0 else ''}{whole}°{minutes:02d}′{rest:06.3f}″"


def written_points(path):
    """Each point's coordinates as its file (or the file its project was
    saved from) writes them: name to (xs, ys, xc, yc) as numbers."""
    points = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            fields = [x.strip() for x in line.split(',')]
            if len(fields) >= 5:
                points[fields[0]] = tuple(float(x) for x in fields[1:5])
    return points


def check_report(points_args, report, inputs, project='', points_file=None):
    name = os.path.join(WORK, report)
    subprocess.run([CLI, 'solve'] + points_args + ['--report=' + name], check=True,
                   capture_output=True)
    with open(name, encoding='utf-8') as f:
        page = f.read()
    where = ' '.join(points_args)
    assert page.startswith('<!DOCTYPE html>') and '<meta charset="utf-8">' in page, where
    assert not re.search(r'\b(src|href)=|@import|url\(', page), where  # nothing from elsewhere
    cells = Cells()
    cells.feed(page)
    params, inverse, table, stats = text_report(points_args)

    got = figures(cells, 'parameters')
    labels = {'X0': 'X0', 'Y0': 'Y0', 'θ': '旋转角 θ', 'θ dms': '旋转角 θ（度分秒）',
              'θ °': '旋转角 θ（十进制度）', 'k': '尺度 k', 'ppm': '尺度 k − 1', 'error': '尺度的标准误差'}
    for key, value in params.items():
        label = labels.get(key) or next(l for l in got if l.startswith('实际转角'))
        assert got[label] == value, (where, label, got[label], value)
    assert [v for v in figures(cells, 'inverse').values()] == inverse, (where, inverse)
    got = figures(cells, 'statistics')
    for label, value in stats.items():
        assert got[label] == value, (where, label, got.get(label), value)
    twice = float(got['2 倍中误差'][0])
    assert abs(twice - 2 * float(stats['中误差'][0])) <= 0.0011 and got['2 倍中误差'][1] == 'mm'
    beyond = [r[0] for r in table if len(r) in (4, 6) and float(r[3]) > twice]
    assert got['超过 2 倍中误差的点'][0] == ('、'.join(beyond) or '无'), (where, beyond)

    # The residual table's fit and unused points, the check points' table
    # between them, as solve prints them.
    residuals = [r for r in cells.tables['residuals'] if r]
    standardized = any('wx' in r for r in residuals)
    rows = [[r['name'], r['dx'], r['dy'], r['length']] + [r[c] for c in ('wx', 'wy') if c in r] +
            (['excluded'] if r['role'] == '不用' else []) for r in residuals]
    checks = [r for r in cells.tables.get('checks', []) if r]
    fit = sum(1 for r in residuals if r['role'] == '参与平差')
    rows[fit:fit] = [[r['name'], r['dx'], r['dy'], r['length']] + ['-', '-'] * standardized +
                     ['check'] for r in checks]
    assert rows == table, (where, rows, table)
    assert all(r['role'] in ('参与平差', '不用') for r in residuals), where

    # Every point's coordinates as its file writes them.
    written = written_points(points_file or inputs[0])
    coordinates = [r for r in cells.tables['points'] if r] + checks
    assert sorted(r['name'] for r in coordinates) == sorted(written), (where, coordinates)
    for r in coordinates:
        got = tuple(float(r[c]) for c in ('xs', 'ys', 'xc', 'yc'))
        assert got == written[r['name']], (where, r, written[r['name']])

    # The four parameters as a controller takes them, and PROJ's pipeline
    # as solve --format=proj prints it.
    controller = list(figures(cells, 'controller').values())
    turn = float(params['turn'][0])
    ppm = params['ppm'][0] if 'ppm' in params else '0.000'
    assert controller == [params['X0'], params['Y0'], (dms(turn), ''), (ppm, 'ppm')], \
        (where, controller)
    proj = subprocess.run([CLI, 'solve'] + points_args + ['--format=proj'], capture_output=True,
                          text=True, check=True).stdout.strip()
    pipeline = re.search(r'<p class="pipeline">(.*?)</p>', page)
    assert pipeline and html.unescape(pipeline[1]) == proj, (where, pipeline, proj)

    files = [r for r in cells.tables['files'] if r]
    assert len(files) == len(inputs)
    for row, path in zip(files, inputs):
        with open(path, 'rb') as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        assert row == {'file': path, 'size': str(os.path.getsize(path)), 'sha256': digest}, row
    block = figures(cells, 'title-block')
    assert block['操作员'][0] == pwd.getpwuid(os.getuid()).pw_name, block
    signatures = [(r['role'], r['signer'], r['date']) for r in cells.tables['signatures'] if r]
    assert signatures == [('计算', block['操作员'][0], ''), ('检查', '', ''), ('审核', '', '')], \
        signatures
    assert block.get('工程文件', ('',))[0] == project, block
    svg = re.search(r'<svg\b.*?</svg>', page, re.S)
    assert svg and page.count('<svg') == 1, where
    ElementTree.fromstring(svg[0])


def random_site(rng, path):
    """A site of 5 to 12 points: a rotation, for some a scale, millimetres of noise;
    names that HTML must escape."""
    x0, y0, theta = rng.uniform(2e3, 5e6), rng.uniform(2e3, 5e5), rng.uniform(-3.1, 3.1)
    k = 1 + rng.choice([0, rng.uniform(-1e-4, 1e-4)])
    lines, names = [], []
    for i in range(rng.randint(5, 12)):
        xc, yc = rng.uniform(-500, 500), rng.uniform(-500, 500)
        xs = x0 + k * (xc * math.cos(theta) - yc * math.sin(theta)) + rng.gauss(0, 0.003)
        ys = y0 + k * (xc * math.sin(theta) + yc * math.cos(theta)) + rng.gauss(0, 0.003)
        names.append(rng.choice(['P', 'K<', 'A&', '点']) + str(i + 1))
        lines.append(f'{names[-1]}, {xs:.3f}, {ys:.3f}, {xc:.3f}, {yc:.3f}\n')
    with open(path, 'w', encoding='utf-8') as f:
        f.writelines(lines)
    return names


class Executable(html.parser.HTMLParser):
    """What a browser would run: script elements, on* attributes, javascript: URLs."""

    def __init__(self):
        super().__init__()
        self.found = []

    def handle_starttag(self, tag, attrs):
        if tag == 'script':
            self.found.append(tag)
        for name, value in attrs:
            if name.startswith('on') or 'javascript:' in (value or '').lower():
                self.found.append(f'{tag} {name}')


def check_hostile(points, file_name):
    """Names that would end an element, a CDATA section or the SVG, a
    right-to-left override, control characters, and a points file whose
    name is GBK: the HTML is UTF-8, its SVG XML, nothing in it runs, and
    each name is in its row with U+FFFD for what XML cannot hold."""
    lines = ''.join(f'{name},{xs},{ys},{xc},{yc}\n' for name, (xs, ys, xc, yc) in
                    zip(points, [(3412.588, 5127.348, 0, 0), (3624.036, 5260.721, 250, 0),
                                 (3528.013, 5412.968, 250, 180), (3316.563, 5279.574, 0, 180),
                                 (3470.297, 5270.158, 125, 90)]))
    with open(file_name, 'wb') as f:
        f.write(lines.encode('utf-8'))
    subprocess.run([CLI, 'solve', b'--points=' + file_name, '--report=hostile.html'], check=True,
                   capture_output=True)
    with open('hostile.html', 'rb') as f:
        page = f.read().decode('utf-8')  # strictly: a byte that is not UTF-8 fails
    svg = re.search(r'<svg\b.*?</svg>', page, re.S)
    assert svg and page.count('<svg') == 1, page
    plot = ElementTree.fromstring(svg[0])
    shown = {t.text for t in plot.iter('{http://www.w3.org/2000/svg}text')}
    executable = Executable()
    executable.feed(page)
    assert not executable.found, executable.found
    cells = Cells()
    cells.feed(page)
    replaced = [re.sub('[\x00-\x08\x0b\x0c\x0e-\x1f\x7f-\x9f]', '\ufffd', n.strip())
                for n in points]
    assert [r['name'] for r in cells.tables['residuals'] if r] == replaced, cells.tables
    assert set(replaced) <= shown, (replaced, shown)
    files = [r['file'] for r in cells.tables['files'] if r]
    assert files == [file_name.decode('utf-8', 'replace')], files


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    os.chdir(WORK)
    shutil.copy(os.path.join(EXAMPLES, 'control-points.csv'), 'cp.csv')
    for model in ('rigid', 'similarity'):
        check_report(['--points=cp.csv', '--check-points=K5', '--exclude=K4', '--model=' + model],
                     model + '.html', ['cp.csv'])
        check_report(['--points=cp.csv', '--check-points=K1', '--model=' + model],
                     model + '4.html', ['cp.csv'])
    rng = random.Random(7)
    for i in range(6):
        names = random_site(rng, f'site{i}.csv')
        check = rng.sample(names, 2)
        args = [f'--points=site{i}.csv', '--check-points=' + ','.join(check),
                '--model=' + ('similarity' if i % 2 else 'rigid')]
        check_report(args, f'site{i}.html', [f'site{i}.csv'])
        subprocess.run([CLI, 'solve'] + args + [f'--save-project=site{i}.torvane'], check=True,
                       capture_output=True)
        check_report([f'--project=site{i}.torvane'], f'project{i}.html', [f'site{i}.torvane'],
                     project=f'site{i}.torvane', points_file=f'site{i}.csv')
    check_hostile(['K1\x01<script>alert(1)</script>', ']]>K2', '</svg><svg onload="alert(2)">K3',
                   '\u202eK4', 'K5\x1f\x7f<a href="javascript:alert(3)">'], '点'.encode('gbk') + b'.csv')
    print('calibration reports read back: all figures as solve prints them')


main()
