#!/usr/bin/env python3
"""report-compare's page and plots, checked against what report-compare writes as JSON for the
same runs, and as a person would see them in a browser. Prints what is wrong; nothing when all
is well.

usage: page_check.py REPORT_COMPARE PAGE PLOTS RUN...
    The page parses as HTML5 (html5lib, strictly), loads nothing and has no script; its title
    names the runs; its summary holds the cells of --summary; its problems are report-compare's
    rows, lost first, then gained, changed and the same, each outcome cell classed by its word;
    each plot, inline and in PLOTS (parsed by xml.etree), has one mark per problem it should
    draw, and the cactus lines run from the fastest up.
usage: page_check.py --browser PAGE...
    Each page in headless Chromium: nothing fetched but the page, nothing on the console, text
    at the top, and in a screenshot of each plot the colours of its marks inside its box and
    its bands, where it has such marks, and not where it has none.
"""
import base64
import collections
import json
import os
import signal
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib

SVG = '{http://www.w3.org/2000/svg}'
CHANGES = ['lost', 'gained', 'changed', 'same']
problems = []


def wrong(what):
    problems.append(what)


def shown(text):
    """A name as the page shows it: control characters as their pictures."""
    return ''.join(chr(0x2400 + ord(c)) if ord(c) < 0x20 else '\u2421' if c == '\x7f' else c
                   for c in text)


def json_lines(report_compare, args):
    out = subprocess.run([report_compare, '--format=json', *args], capture_output=True).stdout
    return [json.loads(line, parse_float=str, parse_int=str) for line in out.decode().splitlines()]


def text_of(element):
    return ''.join(element.itertext())


def cactus_marks(svg):
    """Vertices of each run's line, by run; distinct by x, the n-th fastest at x = n."""
    marks = {}
    for line in svg.iter(SVG + 'polyline'):
        points = [tuple(map(float, v.split(','))) for v in line.get('points').split()]
        marks[int(line.get('data-run'))] = len({x for x, _ in points})
        if points != sorted(points, key=lambda p: (p[0], -p[1])) or \
                [y for _, y in points] != sorted((y for _, y in points), reverse=True):
            wrong(f'cactus line {line.get("data-run")} does not run from the fastest up')
    return marks


def scatter_marks(svg):
    return {p.get('class'): p.get('d').count('M') for p in svg.iter(SVG + 'path')
            if p.get('class') in ('both', 'baseline-only', 'run-only')}


def expected_marks(rows, runs):
    def timed(result):
        return result['outcome'] == 'proved' and result['time'] is not None

    cactus = {k + 1: n for k in range(runs) if (n := sum(timed(r['runs'][k]) for r in rows))}
    scatters = {}
    for k in range(1, runs):
        pairs = [(r['runs'][0], r['runs'][k]) for r in rows]
        proved = [(a['outcome'] == 'proved', b['outcome'] == 'proved', a, b) for a, b in pairs]
        scatters[k + 1] = {
            'both': sum(pa and pb and timed(a) and timed(b) for pa, pb, a, b in proved),
            'baseline-only': sum(pa and not pb and timed(a) for pa, pb, a, b in proved),
            'run-only': sum(pb and not pa and timed(b) for pa, pb, a, b in proved)}
    return cactus, scatters


def check_plot(svg, where, cactus, scatters, labels):
    kind = svg.get('class')
    if kind == 'plot cactus':
        if cactus_marks(svg) != cactus:
            wrong(f'{where}: cactus marks {cactus_marks(svg)}, expected {cactus}')
        text = text_of(svg)
        for label in labels:
            if label not in text:
                wrong(f'{where}: the legend lacks {label!r}')
    elif kind == 'plot scatter':
        k = int(svg.get('data-run'))
        if scatter_marks(svg) != scatters.get(k):
            wrong(f'{where}: scatter {k} marks {scatter_marks(svg)}, expected {scatters.get(k)}')
    else:
        wrong(f'{where}: an svg of class {kind!r}')
    return kind


def check_page(report_compare, page, plots, run_args):
    import html5lib
    data = open(page, 'rb').read()
    try:
        doc = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False).parse(data)
    except Exception as error:
        return wrong(f'{page}: not HTML5: {error}')
    rows = json_lines(report_compare, run_args)
    summary = json_lines(report_compare, ['--summary', *run_args])
    labels = [s['run'] for s in summary]

    for e in doc.iter():
        tag = str(e.tag).rsplit('}', 1)[-1]
        if tag in ('script', 'link', 'img', 'image', 'iframe', 'object', 'embed', 'use', 'base'):
            wrong(f'a <{tag}> element')
        for name in e.attrib:
            if str(name).rsplit('}', 1)[-1] in ('src', 'href') or str(name).startswith('on'):
                wrong(f'<{tag} {name}>: the page may load or run nothing')
    if any(w in text_of(s) for s in doc.iter('style') for w in ('url(', '@import')):
        wrong('the style loads something')
    for heading in (doc.find('.//title'), doc.find('.//h1')):
        if not all(label in text_of(heading) for label in labels):
            wrong(f'<{heading.tag}> {text_of(heading)!r} does not name every run')

    table = doc.find('.//table[@class="summary"]')
    if [text_of(th) for th in table.iter('th')] != list(summary[0]):
        wrong('the summary\'s columns are not --summary\'s')
    cells = [[text_of(td) for td in tr.iter('td')] for tr in table.iter('tr')][1:]
    if cells != [list(s.values()) for s in summary]:
        wrong(f'the summary: {cells}, expected {summary}')

    def cell(value):
        return '' if value is None else value

    want = [[shown(r['problem'])] + [cell(x[f]) for x in r['runs'] for f in ('outcome', 'time', 'steps')] +
            [r['change']] for r in sorted(rows, key=lambda r: CHANGES.index(r['change']))]
    got = []
    for details in doc.iter('details'):
        table = details.find('table')
        trs = [tr for tr in table.iter('tr') if tr.find('td') is not None]
        if not text_of(details.find('summary')).startswith(f'{len(trs)} '):
            wrong(f'{text_of(details.find("summary"))!r} does not count its {len(trs)} rows')
        for tr in trs:
            tds = list(tr.iter('td'))
            got.append([text_of(td) for td in tds])
            for td in tds[1:-1:3]:
                if td.get('class') != text_of(td):
                    wrong(f'an outcome cell {text_of(td)!r} of class {td.get("class")!r}')
    if got != want:
        wrong(f'the problems: {got[:3]}... expected {want[:3]}...')

    cactus, scatters = expected_marks(rows, len(labels))
    inline = [check_plot(svg, 'page', cactus, scatters, labels) for svg in doc.iter(SVG + 'svg')]
    if inline != ['plot cactus'] + ['plot scatter'] * (len(labels) - 1):
        wrong(f'the page\'s plots: {inline}')
    files = ['cactus.svg'] + [f'scatter-{k}.svg' for k in range(2, len(labels) + 1)]
    if sorted(os.listdir(plots)) != sorted(files):
        wrong(f'{plots} holds {os.listdir(plots)}, expected {files}')
    for name in files:
        try:
            check_plot(ET.parse(os.path.join(plots, name)).getroot(), name, cactus, scatters, labels)
        except (ET.ParseError, OSError) as error:
            wrong(f'{name}: {error}')


class Browser:
    """Headless Chromium driven over --remote-debugging-pipe: commands to its descriptor 3,
    answers and events from its 4, each a JSON text ended by a NUL byte."""

    def __init__(self):
        self.profile = tempfile.TemporaryDirectory()
        to_browser, self.commands = os.pipe()
        self.answers, from_browser = os.pipe()

        def descriptors():
            a, b = os.dup(to_browser), os.dup(from_browser)
            os.dup2(a, 3)
            os.dup2(b, 4)

        self.process = subprocess.Popen(
            ['/usr/bin/chromium', '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
             '--no-first-run', '--disable-background-networking', '--disable-component-update',
             '--disable-sync', '--hide-scrollbars', '--user-data-dir=' + self.profile.name,
             '--remote-debugging-pipe', 'about:blank'],
            pass_fds=(3, 4), preexec_fn=descriptors, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self.pending, self.events, self.last = b'', [], 0

    def receive(self):
        while b'\0' not in self.pending:
            chunk = os.read(self.answers, 1 << 20)
            if not chunk:
                raise RuntimeError('chromium went away')
            self.pending += chunk
        message, self.pending = self.pending.split(b'\0', 1)
        return json.loads(message)

    def call(self, method, session=None, **params):
        self.last += 1
        message = {'id': self.last, 'method': method, 'params': params}
        if session:
            message['sessionId'] = session
        os.write(self.commands, json.dumps(message).encode() + b'\0')
        while (answer := self.receive()).get('id') != self.last:
            self.events.append(answer)
        if 'error' in answer:
            raise RuntimeError(f'{method}: {answer["error"]}')
        return answer['result']

    def wait(self, method):
        while not any(e.get('method') == method for e in self.events):
            self.events.append(self.receive())
        self.events = [e for e in self.events if e.get('method') != method]

    def close(self):
        signal.alarm(10)
        try:
            self.call('Browser.close')
            self.process.wait(timeout=10)
        except Exception:  # a browser that does not close is ended
            pass
        finally:
            self.process.kill()
            signal.alarm(0)


def pixels(png):
    """A PNG's rows of pixels, 3 bytes (r, g, b) each: 8 bits a sample, RGB or RGBA."""
    width, height, depth, colour = struct.unpack('>IIBB', png[16:26])
    assert depth == 8 and colour in (2, 6), (depth, colour)
    size = 3 if colour == 2 else 4
    data, at = b'', 8
    while at < len(png):
        length, kind = struct.unpack('>I4s', png[at:at + 8])
        if kind == b'IDAT':
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    raw, stride, rows, prior = zlib.decompress(data), width * size, [], bytes(width * size)
    low, high = int.from_bytes(b'\x7f' * stride, 'big'), int.from_bytes(b'\x80' * stride, 'big')
    for y in range(height):
        kind, line = raw[y * (stride + 1)], raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        if kind == 2:  # up, the filter a screenshot optimised for speed has: bytewise sums at once
            a, b = int.from_bytes(line, 'big'), int.from_bytes(prior, 'big')
            line = (((a & low) + (b & low)) ^ ((a ^ b) & high)).to_bytes(stride, 'big')
        elif kind:
            line = bytearray(line)
            for i in range(stride):
                left = line[i - size] if i >= size else 0
                up, corner = prior[i], prior[i - size] if i >= size else 0
                if kind == 1:
                    line[i] = (line[i] + left) & 255
                elif kind == 3:
                    line[i] = (line[i] + (left + up) // 2) & 255
                else:
                    p = left + up - corner
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                    line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
            line = bytes(line)
        rows.append(line if size == 3 else b''.join(line[x:x + 3] for x in range(0, stride, 4)))
        prior = line
    return rows


# What the test asks the page for: each plot's box on the page, its plot box, its bands, and the
# colour of each kind of mark with how many there are.
LAYOUT = '''JSON.stringify([...document.querySelectorAll('svg')].map(svg => {
  const box = e => { const r = e.getBoundingClientRect(); return [r.x + scrollX, r.y + scrollY, r.width, r.height]; };
  return {box: box(svg), frame: box(svg.querySelector('rect.frame')), bands: [...svg.querySelectorAll('rect.band')].map(box),
          lines: [...svg.querySelectorAll('polyline.run')].map(l => l.getAttribute('stroke')),
          groups: [...svg.querySelectorAll('path.both, path.baseline-only, path.run-only')].map(p =>
                     [p.getAttribute('fill'), p.getAttribute('d').split('M').length - 1])};
}))'''


def colour_in(rows, area, colour, origin):
    """How many pixels of `colour` (#rrggbb, give or take the blending of an edge) `area` of a
    screenshot, taken at `origin` on the page, holds."""
    target = tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))
    x0, y0 = max(int(area[0] - origin[0]), 0), max(int(area[1] - origin[1]), 0)
    x1, y1 = x0 + int(area[2]), y0 + int(area[3])
    seen = collections.Counter(row[x:x + 3] for row in rows[y0:y1] for x in range(3 * x0, 3 * x1, 3))
    return sum(n for p, n in seen.items() if len(p) == 3 and sum((a - b) ** 2 for a, b in zip(p, target)) < 24 ** 2)


def check_in_browser(pages):
    def hung(*_):
        raise TimeoutError('chromium did not answer in 90 s')

    signal.signal(signal.SIGALRM, hung)
    signal.alarm(90)
    browser = Browser()
    try:
        target = browser.call('Target.createTarget', url='about:blank')['targetId']
        session = browser.call('Target.attachToTarget', targetId=target, flatten=True)['sessionId']
        for domain in ('Page', 'Runtime', 'Log', 'Network'):
            browser.call(domain + '.enable', session)
        browser.call('Emulation.setDeviceMetricsOverride', session, width=1280, height=900,
                     deviceScaleFactor=1, mobile=False)
        for page in pages:
            url = 'file://' + os.path.abspath(page)
            browser.events = []
            browser.call('Page.navigate', session, url=url)
            browser.wait('Page.loadEventFired')
            plots = json.loads(browser.call('Runtime.evaluate', session, expression=LAYOUT,
                                            returnByValue=True)['result']['value'])

            def screenshot(area):
                clip = dict(x=area[0], y=area[1], width=area[2], height=area[3], scale=1)
                return pixels(base64.b64decode(browser.call(
                    'Page.captureScreenshot', session, format='png', clip=clip,
                    captureBeyondViewport=True, optimizeForSpeed=True)['data']))

            top = screenshot([0, 0, 1280, 60])
            if colour_in(top, [0, 0, 1280, 60], '#222222', (0, 0)) < 100:
                wrong(f'{page}: no title to be seen at the top')
            for plot in plots:
                shot = screenshot(plot['box'])
                # (where, colour, how many marks of it there are)
                marks = [(plot['frame'], colour, 1) for colour in plot['lines']]
                for (colour, n), where in zip(plot['groups'], [plot['frame']] + plot['bands']):
                    marks.append((where, colour, n))
                for where, colour, n in marks:
                    seen = colour_in(shot, where, colour, plot['box'])
                    if (seen >= 4) != (n > 0):
                        wrong(f'{page}: {seen} pixels of {colour} where the plot at {plot["box"]} '
                              f'has {n} marks of it')
            for event in browser.events:
                method, params = event.get('method'), event.get('params', {})
                if method in ('Runtime.consoleAPICalled', 'Runtime.exceptionThrown') or \
                        method == 'Log.entryAdded' and params['entry']['level'] in ('error', 'warning'):
                    wrong(f'{page}: on the console: {json.dumps(params)[:300]}')
                if method == 'Network.requestWillBeSent' and params['request']['url'] != url:
                    wrong(f'{page}: fetches {params["request"]["url"]}')
    finally:
        browser.close()


def main(args):
    if args[0] == '--browser':
        check_in_browser(args[1:])
    else:
        check_page(*args[:3], args[3:])
    for what in problems:
        print(what)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
