#!/usr/bin/env python3
"""Makes data/logo.avi, the short video the window plays at start: the product name rising into
an evening sky in the style of the window's pictures (data/pictures/*.svg).

Each frame is drawn as SVG and ffmpeg (built with librsvg) turns the frames into a 220 x 94
Motion-JPEG AVI. Only this script needs ffmpeg; the build uses the committed video.

    tools/make_logo.py [OUTPUT]        (default: data/logo.avi next to this script's folder)
"""

import math
import pathlib
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 220, 94
RATE = 15
SECONDS = 3.2

STARS = [  # x, y, radius, brightness, twinkle phase
    (12, 10, 0.9, 0.9, 0.0), (34, 30, 0.6, 0.6, 1.3), (58, 8, 0.8, 0.8, 2.1),
    (84, 22, 0.6, 0.5, 0.7), (108, 6, 0.9, 0.9, 2.9), (132, 28, 0.6, 0.6, 1.8),
    (150, 12, 0.7, 0.7, 0.4), (200, 40, 0.6, 0.5, 2.5), (24, 52, 0.5, 0.35, 1.1),
    (96, 46, 0.5, 0.3, 3.3), (188, 8, 0.8, 0.8, 1.6), (70, 42, 0.5, 0.35, 0.2),
]


def ease(t):
    """0 before 0, 1 after 1, a smooth step between."""
    t = min(max(t, 0.0), 1.0)
    return t * t * (3 - 2 * t)


def sparkle(x, y, size, opacity):
    s, w = size, size * 0.22
    return (f'<path fill="#fff3c2" opacity="{opacity:.3f}" d="M{x} {y - s} L{x + w} {y - w} '
            f'L{x + s} {y} L{x + w} {y + w} L{x} {y + s} L{x - w} {y + w} L{x - s} {y} '
            f'L{x - w} {y - w} Z"/>')


def frame(time):
    title = ease((time - 0.3) / 1.0)
    version = ease((time - 1.0) / 0.8)
    rise = (1 - title) * 8
    parts = [f'''<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}"
     viewBox="0 0 {WIDTH} {HEIGHT}">
  <defs>
    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="{HEIGHT}" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#0d1233"/>
      <stop offset="0.55" stop-color="#1c2154"/>
      <stop offset="1" stop-color="#463777"/>
    </linearGradient>
    <radialGradient id="moonGlow" cx="190" cy="22" r="40" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#fff2c4" stop-opacity="{0.20 + 0.04 * math.sin(time * 2):.3f}"/>
      <stop offset="0.4" stop-color="#c9b8ff" stop-opacity="0.10"/>
      <stop offset="1" stop-color="#8a7bd8" stop-opacity="0"/>
    </radialGradient>
    <linearGradient id="moon" x1="182" y1="10" x2="204" y2="36" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#fffbe8"/>
      <stop offset="1" stop-color="#ffe08a"/>
    </linearGradient>
    <linearGradient id="title" x1="0" y1="30" x2="0" y2="62" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#fffbe8"/>
      <stop offset="1" stop-color="#ffd98a"/>
    </linearGradient>
  </defs>
  <rect width="{WIDTH}" height="{HEIGHT}" fill="url(#sky)"/>
  <circle cx="190" cy="22" r="40" fill="url(#moonGlow)"/>
  <g transform="rotate(-20 194 22)">
    <path fill="url(#moon)" d="M194 9 A13 13 0 1 0 194 35 A10 13 0 0 1 194 9 Z"/>
  </g>
  <g fill="#ffffff">''']
    for x, y, radius, brightness, phase in STARS:
        opacity = brightness * (0.65 + 0.35 * math.sin(time * 3.1 + phase))
        parts.append(f'    <circle cx="{x}" cy="{y}" r="{radius}" opacity="{opacity:.3f}"/>')
    parts.append('  </g>')
    parts.append('  ' + sparkle(22, 20, 4.5, 0.55 + 0.4 * math.sin(time * 2.4)))
    parts.append('  ' + sparkle(162, 50, 3.0, 0.45 + 0.35 * math.sin(time * 2.9 + 1.5)))

    # A shooting star crosses once while the name settles.
    streak = (time - 1.4) / 0.6
    if 0 <= streak <= 1:
        head_x, head_y = 40 + 90 * streak, 6 + 22 * streak
        fade = math.sin(streak * math.pi)
        parts.append(f'  <path fill="#ffffff" opacity="{0.5 * fade:.3f}" '
                     f'd="M{head_x - 26} {head_y - 6.4} L{head_x} {head_y - 0.8} '
                     f'L{head_x - 0.4} {head_y + 0.8} Z"/>')
        parts.append(f'  <circle cx="{head_x}" cy="{head_y}" r="1.2" fill="#ffffff" '
                     f'opacity="{0.9 * fade:.3f}"/>')

    parts.append(f'''  <path fill="#2b2762" d="M0 80 C30 72 60 70 96 76 C128 82 160 72 190 72
           C204 72 214 74 220 75 L220 94 L0 94 Z"/>
  <path fill="#1c1a44" d="M0 88 C40 82 80 84 120 88 C160 92 190 84 220 86 L220 94 L0 94 Z"/>
  <g fill="#ffd27a">
    <rect x="150" y="77" width="1.6" height="1.6" opacity="0.8"/>
    <rect x="156" y="78" width="1.4" height="1.4" opacity="0.6"/>
    <rect x="62" y="76" width="1.5" height="1.5" opacity="0.7"/>
  </g>
  <g font-family="NanumSquareRound" font-weight="bold" text-anchor="middle">
    <text x="92" y="{58 + rise:.2f}" font-size="34" fill="#8a66c0" opacity="{0.45 * title:.3f}"
          stroke="#8a66c0" stroke-width="4" stroke-linejoin="round">다솜</text>
    <text x="92" y="{58 + rise:.2f}" font-size="34" fill="url(#title)"
          opacity="{title:.3f}">다솜</text>
    <text x="152" y="58" font-size="15" fill="#c9b8ff" opacity="{version:.3f}">V1.0</text>
  </g>
</svg>''')
    return '\n'.join(parts)


def main():
    here = pathlib.Path(__file__).resolve().parent
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent / 'data' / 'logo.avi'
    with tempfile.TemporaryDirectory() as folder:
        for number in range(int(SECONDS * RATE)):
            (pathlib.Path(folder) / f'frame{number:03d}.svg').write_text(
                frame(number / RATE), encoding='utf-8')
        subprocess.run(['ffmpeg', '-loglevel', 'error', '-y', '-framerate', str(RATE),
                        '-i', str(pathlib.Path(folder) / 'frame%03d.svg'),
                        '-c:v', 'mjpeg', '-q:v', '3', '-pix_fmt', 'yuvj420p', '-an',
                        str(output)], check=True)


if __name__ == '__main__':
    main()
