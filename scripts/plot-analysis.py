#!/usr/bin/env python3
"""Draws the analysis time against file size as an SVG (standard library only).

    plot-analysis.py SIZES.txt OUT.svg

SIZES.txt is what `bench_analysis --sizes=N` prints: lines "size_mb analysis_ms plain_read_ms
peak_heap_bytes" after a comment line. The plot shows both times with their least-squares lines and
the peak heap of the analysis at each size.
"""
import sys


def fit(xs, ys):
    n = len(xs)
    mx, my = sum(xs) / n, sum(ys) / n
    sxx = sum((x - mx) ** 2 for x in xs)
    slope = sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sxx
    intercept = my - slope * mx
    ss_tot = sum((y - my) ** 2 for y in ys)
    ss_res = sum((y - (intercept + slope * x)) ** 2 for x, y in zip(xs, ys))
    return slope, intercept, (1 - ss_res / ss_tot) if ss_tot else 1.0


def main():
    rows = []
    with open(sys.argv[1]) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            size, analysis, read, peak = line.split()
            rows.append((float(size), float(analysis), float(read), int(float(peak))))
    sizes = [r[0] for r in rows]
    series = [("analysis", [r[1] for r in rows], "#c0392b"), ("plain read", [r[2] for r in rows], "#2471a3")]

    width, height, left, right, top, bottom = 640, 400, 70, 20, 40, 60
    xmax = max(sizes) * 1.05
    ymax = max(max(values) for _, values, _ in series) * 1.15
    px = lambda x: left + (width - left - right) * x / xmax
    py = lambda y: height - bottom - (height - top - bottom) * y / ymax

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'font-family="sans-serif" font-size="12">',
           f'<rect width="{width}" height="{height}" fill="white"/>',
           f'<text x="{width / 2}" y="20" text-anchor="middle" font-size="14">'
           f'Header analysis of files without a header (three scans), shortest of the runs</text>']
    out.append(f'<line x1="{left}" y1="{py(0)}" x2="{width - right}" y2="{py(0)}" stroke="black"/>')
    out.append(f'<line x1="{left}" y1="{py(0)}" x2="{left}" y2="{top}" stroke="black"/>')
    for mb in range(0, int(xmax) + 1, 8):
        out.append(f'<line x1="{px(mb)}" y1="{py(0)}" x2="{px(mb)}" y2="{py(0) + 5}" stroke="black"/>')
        out.append(f'<text x="{px(mb)}" y="{py(0) + 18}" text-anchor="middle">{mb}</text>')
    step = max(1, round(ymax / 6))
    for ms in range(0, int(ymax) + 1, step):
        out.append(f'<line x1="{left - 5}" y1="{py(ms)}" x2="{left}" y2="{py(ms)}" stroke="black"/>')
        out.append(f'<text x="{left - 8}" y="{py(ms) + 4}" text-anchor="end">{ms}</text>')
    out.append(f'<text x="{(left + width - right) / 2}" y="{height - 22}" text-anchor="middle">file size (MiB)</text>')
    out.append(f'<text transform="translate(18,{(top + height - bottom) / 2}) rotate(-90)" '
               f'text-anchor="middle">time (ms)</text>')
    legend_y = top + 10
    for name, values, colour in series:
        slope, intercept, r2 = fit(sizes, values)
        out.append(f'<line x1="{px(0)}" y1="{py(intercept)}" x2="{px(max(sizes))}" '
                   f'y2="{py(intercept + slope * max(sizes))}" stroke="{colour}" stroke-dasharray="4 3"/>')
        for x, y in zip(sizes, values):
            out.append(f'<circle cx="{px(x)}" cy="{py(y)}" r="3.5" fill="{colour}"/>')
        out.append(f'<circle cx="{left + 20}" cy="{legend_y}" r="3.5" fill="{colour}"/>')
        out.append(f'<text x="{left + 30}" y="{legend_y + 4}">{name}: {slope:.3f} ms per MiB '
                   f'{"+" if intercept >= 0 else "−"} {abs(intercept):.2f} ms, R² = {r2:.4f}</text>')
        legend_y += 18
    peaks = sorted({r[3] for r in rows})
    peak_text = f"{peaks[0]} bytes" if len(peaks) == 1 else f"{peaks[0]} to {peaks[-1]} bytes"
    out.append(f'<text x="{left + 20}" y="{legend_y + 4}">peak heap of the analysis at every size: {peak_text}</text>')
    out.append('</svg>')
    with open(sys.argv[2], "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
