#!/usr/bin/python3
"""Draws the raster pictures the editor shows and writes them to resources/images/.

    boardBackgroundImage.jpg  progressive JPEG 1200 x 620  wooden plank floor, darker towards the edges
    ledLettersImage.jpg       progressive JPEG  900 x 107  red dot-matrix letters A to I; letter k in
                                                           columns 100k .. 100k + 74, dark panel between
    pedalBodyImage.png        RGBA PNG          300 x 560  thin light enclosure outline, two jack stubs
    footswitchOnImage.png     RGBA PNG           75 x 100  chrome footswitch, LED lit (LED in rows 80-99)
    footswitchOffImage.png    RGBA PNG           75 x 100  the same footswitch, LED dark
    makerWordmarkImage.png    RGBA PNG          176 x 30   the word "Stompvale" on transparency

Regenerate (from the repository root, needs Debian's python3-numpy, python3-pil, fonts-dejavu-core):

    /usr/bin/python3 tools/art/make_pictures.py

Every random choice is seeded, so a rerun writes the same pixels. The outputs are committed; the build
never runs this program.
"""

import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "images")
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


# ------------------------------------------------------------------------------------------------
# helpers

def smooth_noise(rng, height, width, cells_y, cells_x):
    """Value noise in 0..1: a coarse random grid resized bicubically to (height, width)."""
    grid = rng.random((cells_y, cells_x)).astype(np.float32)
    img = Image.fromarray(grid, mode="F").resize((width, height), Image.BICUBIC)
    return np.clip(np.asarray(img, dtype=np.float32), 0.0, 1.0)


def downsample(rgba, factor):
    """Box-filters a supersampled float RGBA array (premultiplied first, so edges stay clean)."""
    h, w, _ = rgba.shape
    pre = rgba.copy()
    pre[..., :3] *= pre[..., 3:4]
    pre = pre.reshape(h // factor, factor, w // factor, factor, 4).mean(axis=(1, 3))
    alpha = pre[..., 3:4]
    rgb = np.where(alpha > 1e-6, pre[..., :3] / np.maximum(alpha, 1e-6), 0.0)
    return np.concatenate([rgb, alpha], axis=-1)


def to_rgba_image(rgba):
    return Image.fromarray((np.clip(rgba, 0.0, 1.0) * 255.0 + 0.5).astype(np.uint8), mode="RGBA")


def over(dst, src):
    """Porter-Duff source-over of float RGBA arrays (not premultiplied)."""
    sa = src[..., 3:4]
    da = dst[..., 3:4]
    oa = sa + da * (1.0 - sa)
    rgb = np.where(oa > 1e-6, (src[..., :3] * sa + dst[..., :3] * da * (1.0 - sa)) / np.maximum(oa, 1e-6), 0.0)
    return np.concatenate([rgb, oa], axis=-1)


def layer(shape, rgb, alpha):
    out = np.zeros(shape[:2] + (4,), np.float32)
    out[..., :3] = rgb
    out[..., 3] = alpha
    return out


def _box_1d(a, r, axis):
    """Running mean of width 2r + 1 along one axis, edges padded with the border value."""
    if r < 1:
        return a
    pad = [(0, 0)] * a.ndim
    pad[axis] = (r + 1, r)
    c = np.cumsum(np.pad(a, pad, mode="edge"), axis=axis, dtype=np.float64)
    n = a.shape[axis]
    hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
    lo = np.take(c, np.arange(0, n), axis=axis)
    return ((hi - lo) / (2 * r + 1)).astype(np.float32)


def blur(array2d, sigma):
    """Gaussian-like blur of a float array (three box passes per axis)."""
    r = max(1, int(round(np.sqrt(12.0 * sigma * sigma / 3.0 + 1.0) / 2.0)))
    out = array2d.astype(np.float32)
    for _ in range(3):
        out = _box_1d(_box_1d(out, r, 0), r, 1)
    return out


def save_png(img, name, size):
    assert img.size == size and img.mode == "RGBA", (name, img.size, img.mode)
    img.save(os.path.join(OUT, name), format="PNG", optimize=True)


def save_jpeg(img, name, size):
    assert img.size == size and img.mode == "RGB", (name, img.size, img.mode)
    img.save(os.path.join(OUT, name), format="JPEG", quality=90, progressive=True, optimize=True,
             subsampling=0)


# ------------------------------------------------------------------------------------------------
# wooden floor

def make_board_background():
    width, height = 1200, 620
    rng = np.random.default_rng(1201)
    planks = 6
    plank_h = height / planks
    yy, xx = np.mgrid[0:height, 0:width].astype(np.float32)
    rgb = np.zeros((height, width, 3), np.float32)

    palette = [np.array(c, np.float32) / 255.0 for c in
               [(150, 96, 52), (166, 108, 60), (138, 86, 46), (158, 104, 58), (128, 80, 44), (172, 116, 66)]]

    for p in range(planks):
        top = int(round(p * plank_h))
        bottom = int(round((p + 1) * plank_h))
        h = bottom - top
        # staggered butt joints: every plank is made of two or three boards
        # (boards at least 300 pixels long)
        count = int(rng.integers(1, 3))
        while True:
            joints = sorted(rng.uniform(0.12, 0.88, size=count) * width)
            edges = [0] + [int(j) for j in joints] + [width]
            if min(np.diff(edges)) >= 300:
                break
        for b in range(len(edges) - 1):
            left, right = edges[b], edges[b + 1]
            w = right - left
            base = palette[rng.integers(0, len(palette))] * rng.uniform(0.9, 1.08)
            dark = base * 0.55
            light = np.minimum(base * 1.22, 1.0)
            u = xx[top:bottom, left:right] - left
            v = yy[top:bottom, left:right] - top
            # slow wander of the growth rings along the board, and a few cathedral arches
            wander = smooth_noise(rng, h, w, 3, max(2, w // 180)) - 0.5
            arch_c = rng.uniform(0.2, 0.8) * w
            arch = ((u - arch_c) / (w * 0.6)) ** 2 * rng.uniform(10.0, 28.0)
            ring_period = rng.uniform(9.0, 15.0)
            phase = (v + wander * 26.0 + arch) / ring_period
            rings = 0.5 + 0.5 * np.sin(2.0 * np.pi * phase)
            rings = rings ** 2.2                       # late wood: narrow dark bands
            fibres = smooth_noise(rng, h, w, max(2, h // 2), max(2, w // 60))
            fine = smooth_noise(rng, h, w, h, max(2, w // 25))
            mottle = smooth_noise(rng, h, w, 3, max(2, w // 90))
            t = 0.62 - 0.38 * rings + 0.16 * (fibres - 0.5) + 0.12 * (fine - 0.5) + 0.14 * (mottle - 0.5)
            t = np.clip(t, 0.0, 1.0)[..., None]
            board = dark + (light - dark) * t
            # bevel: a lit upper edge and a shaded lower edge, dark seams between boards
            edge_v = np.minimum(v, h - 1 - v)
            edge_u = np.minimum(u, w - 1 - u)
            shade = np.ones_like(v)
            shade *= np.where(v < 3, 1.12, 1.0)
            shade *= np.where(v > h - 5, 0.78, 1.0)
            shade *= np.where(edge_v < 1.5, 0.35, 1.0)
            shade *= np.where(edge_u < 1.5, 0.35, 1.0)
            shade *= np.where((edge_u >= 1.5) & (edge_u < 4), 0.8, 1.0)
            board = board * shade[..., None]
            rgb[top:bottom, left:right] = board
            # two nail heads at each board end that meets another board (none at the picture's edge)
            for nx, joint in ((left + 14, left > 0), (right - 15, right < width)):
                if joint:
                    for ny in (top + h * 0.28, top + h * 0.72):
                        d = np.hypot(xx - nx, yy - ny)
                        mask = np.clip(2.6 - d, 0.0, 1.0)
                        rgb = rgb * (1.0 - 0.55 * mask[..., None])

    # darken towards the edges: an elliptical vignette
    nx = (xx - width / 2) / (width / 2)
    ny = (yy - height / 2) / (height / 2)
    r2 = nx * nx * 0.85 + ny * ny
    vignette = np.clip(1.08 - 0.55 * r2 ** 1.3, 0.25, 1.05)
    rgb *= vignette[..., None]
    img = Image.fromarray((np.clip(rgb, 0, 1) * 255 + 0.5).astype(np.uint8), mode="RGB")
    img = img.filter(ImageFilter.SMOOTH)
    save_jpeg(img, "boardBackgroundImage.jpg", (width, height))


# ------------------------------------------------------------------------------------------------
# LED letters

LETTERS = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11100", "10010", "10001", "10001", "10001", "10010", "11100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
}


def make_led_letters():
    width, height, ss = 900, 107, 4
    W, H = width * ss, height * ss
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
    xx = (xx + 0.5) / ss
    yy = (yy + 0.5) / ss
    rng = np.random.default_rng(107)
    panel = np.array([0.075, 0.055, 0.055], np.float32)
    rgb = np.empty((H, W, 3), np.float32)
    rgb[:] = panel
    grain = smooth_noise(rng, H, W, 60, 500)
    rgb *= (0.85 + 0.3 * grain)[..., None]

    lit_field = np.zeros((H, W), np.float32)
    pitch, radius = 15.0, 5.6
    for k, letter in enumerate("ABCDEFGHI"):
        rows = LETTERS[letter]
        for r in range(7):
            for c in range(5):
                cx = 100 * k + 7.5 + pitch * c
                cy = 53.5 + pitch * (r - 3)
                x0, x1 = max(0, int((cx - 9) * ss)), min(W, int((cx + 9) * ss))
                y0, y1 = max(0, int((cy - 9) * ss)), min(H, int((cy + 9) * ss))
                dx = xx[y0:y1, x0:x1] - cx
                dy = yy[y0:y1, x0:x1] - cy
                d = np.hypot(dx, dy)
                inside = np.clip((radius - d) * ss * 0.5, 0.0, 1.0)[..., None]
                if rows[r][c] == "1":
                    core = np.clip(1.0 - d / radius, 0.0, 1.0)
                    colour = np.stack([np.full_like(d, 1.0), 0.14 + 0.36 * core ** 2, 0.11 + 0.30 * core ** 2], -1)
                    lit_field[y0:y1, x0:x1] = np.maximum(lit_field[y0:y1, x0:x1], inside[..., 0])
                else:
                    # unlit: a dull lens with a faint highlight towards the upper left
                    hl = np.clip(1.0 - np.hypot(dx + 1.6, dy + 1.6) / (radius * 0.9), 0.0, 1.0)
                    colour = np.stack([0.20 + 0.10 * hl, 0.055 + 0.04 * hl, 0.05 + 0.04 * hl], -1)
                rgb[y0:y1, x0:x1] = rgb[y0:y1, x0:x1] * (1 - inside) + colour * inside
    # glow of the lit dots, kept inside each letter's 75 columns
    glow = blur(lit_field, 5.0 * ss) * 0.55 + blur(lit_field, 1.5 * ss) * 0.35
    column = (xx % 100.0) < 75.0
    glow = glow * column
    rgb += glow[..., None] * np.array([1.0, 0.12, 0.08], np.float32)
    rgb = np.clip(rgb, 0, 1)
    rgb = rgb.reshape(height, ss, width, ss, 3).mean(axis=(1, 3))
    img = Image.fromarray((rgb * 255 + 0.5).astype(np.uint8), mode="RGB")
    save_jpeg(img, "ledLettersImage.jpg", (width, height))


# ------------------------------------------------------------------------------------------------
# pedal body outline

def make_pedal_body():
    width, height, ss = 300, 560, 4
    img = Image.new("RGBA", (width * ss, height * ss), (0, 0, 0, 0))
    draw = ImageDraw.Draw(img)
    s = ss
    # jack stubs on the top edge: metal sleeves poking out of the enclosure
    for cx in (88, 212):
        x0, x1 = (cx - 20) * s, (cx + 20) * s
        draw.rounded_rectangle([x0, 6 * s, x1, 34 * s], radius=4 * s, fill=(200, 202, 204, 255),
                               outline=(245, 245, 240, 255), width=2 * s)
        draw.rectangle([x0 + 6 * s, 10 * s, x1 - 6 * s, 14 * s], fill=(250, 250, 248, 200))
        for gy in (20, 26):
            draw.line([x0 + 3 * s, gy * s, x1 - 3 * s, gy * s], fill=(120, 122, 126, 255), width=2 * s)
    # the enclosure: a thin light outline and, inside it, a fainter bevel line
    draw.rounded_rectangle([14 * s, 30 * s, 286 * s, 546 * s], radius=26 * s, outline=(245, 245, 238, 235),
                           width=3 * s)
    draw.rounded_rectangle([22 * s, 38 * s, 278 * s, 538 * s], radius=19 * s, outline=(255, 255, 255, 70),
                           width=2 * s)
    rgba = np.asarray(img, dtype=np.float32) / 255.0
    out = downsample(rgba, ss)
    save_png(to_rgba_image(out), "pedalBodyImage.png", (width, height))


# ------------------------------------------------------------------------------------------------
# footswitch

def make_footswitches():
    width, height, ss = 75, 100, 6
    W, H = width * ss, height * ss
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
    xx = (xx + 0.5) / ss
    yy = (yy + 0.5) / ss
    rng = np.random.default_rng(75)
    cx, cy = 37.5, 38.0
    dx, dy = xx - cx, yy - cy
    r = np.hypot(dx, dy)
    theta = np.arctan2(dy, dx)

    def disc(radius, centre_r=r):
        return np.clip((radius - centre_r) * ss * 0.5 + 0.5, 0.0, 1.0)

    base = np.zeros((H, W, 4), np.float32)

    # soft shadow under the switch and the LED bezel
    shadow = np.maximum(disc(34.5, np.hypot(xx - cx - 1.5, yy - cy - 2.5)),
                        disc(9.5, np.hypot(xx - cx - 1.0, yy - 89.0 - 1.5)))
    shadow = blur(shadow, 2.2 * ss) * 0.55
    base = over(base, layer(base.shape, np.zeros(3, np.float32), shadow))

    # outer washer / nut ring, brushed chrome: anisotropic highlights around the ring
    brushed = smooth_noise(rng, H, W, 400, 6) * 0.0
    ring_noise = np.sin(r * 9.0) * 0.02
    washer = 0.58 + 0.28 * np.cos(2.0 * (theta + 0.75)) + 0.08 * np.cos(4.0 * theta) + ring_noise + brushed
    edge_dark = np.clip((r - 31.5) / 2.5, 0.0, 1.0) * 0.35
    inner_lip = np.clip((28.5 - r) / 1.5, 0.0, 1.0) * 0.25
    washer = np.clip(washer - edge_dark + inner_lip, 0.0, 1.0)
    washer_rgb = np.stack([washer * 0.96, washer * 0.98, washer * 1.0], -1)
    base = over(base, layer(base.shape, washer_rgb, disc(34.0)))

    # dark groove between washer and plunger
    groove = 0.08 + 0.06 * np.clip((r - 25.0) / 2.0, 0.0, 1.0)
    base = over(base, layer(base.shape, np.stack([groove] * 3, -1), disc(27.0)))

    # plunger: a shallow dome with machined rings and a sky/floor reflection
    R = 24.5
    rn = np.clip(r / R, 0.0, 0.999)
    nz = np.sqrt(1.0 - rn * rn * 0.75)
    ny = dy / R * 0.85
    nx_ = dx / R * 0.85
    sky = 0.58 - 0.5 * ny / np.maximum(nz, 0.2)            # brighter towards the top
    light = np.array([-0.45, -0.6, 0.66], np.float32)
    light /= np.linalg.norm(light)
    specular = np.clip(nx_ * light[0] + ny * light[1] + nz * light[2], 0.0, 1.0) ** 24
    machined = 0.05 * np.sin(r * 5.2) + 0.03 * np.sin(r * 13.0)
    rim = np.clip((r - (R - 2.0)) / 2.0, 0.0, 1.0)
    plunger = np.clip(sky + machined + 0.55 * specular - 0.25 * rim, 0.0, 1.0)
    plunger_rgb = np.stack([plunger * 0.97, plunger * 0.985, plunger], -1)
    base = over(base, layer(base.shape, plunger_rgb, disc(R)))
    # small centre boss
    boss = np.clip(0.75 - 0.3 * (dy / 6.0) + 0.3 * np.clip(1 - np.hypot(dx + 1.5, dy + 1.5) / 3, 0, 1), 0, 1)
    base = over(base, layer(base.shape, np.stack([boss * 0.97, boss * 0.98, boss], -1), disc(6.0) * 0.9))
    base = over(base, layer(base.shape, np.zeros(3, np.float32), np.clip(1 - np.abs(r - 6.2) * ss / 3, 0, 1) * 0.35))

    # LED bezel
    lx, ly = cx, 89.0
    ldx, ldy = xx - lx, yy - ly
    lr = np.hypot(ldx, ldy)
    ltheta = np.arctan2(ldy, ldx)
    bezel = np.clip(0.6 + 0.3 * np.cos(ltheta + 2.3) - 0.25 * np.clip((lr - 7.5) / 1.5, 0, 1), 0, 1)
    base = over(base, layer(base.shape, np.stack([bezel] * 3, -1), disc(9.0, lr)))
    base = over(base, layer(base.shape, np.full(3, 0.05, np.float32), disc(6.6, lr)))

    images = {}
    for lit in (True, False):
        img = base.copy()
        hl = np.clip(1.0 - np.hypot(ldx + 1.8, ldy + 1.8) / 2.2, 0.0, 1.0)
        if lit:
            core = np.clip(1.0 - lr / 5.8, 0.0, 1.0)
            lens = np.stack([np.full_like(lr, 1.0), 0.12 + 0.75 * core ** 1.5, 0.10 + 0.65 * core ** 1.5], -1)
            lens = np.clip(lens + hl[..., None] * 0.4, 0, 1)
            img = over(img, layer(img.shape, lens, disc(5.8, lr)))
            halo = np.clip(1.0 - (lr - 5.0) / 10.0, 0.0, 1.0) ** 2 * 0.75 * (lr > 5.0)
            halo *= yy >= 80.0      # rows 0-79 must match the dark picture (bank buttons show them)
            img = over(img, layer(img.shape, np.array([1.0, 0.15, 0.1], np.float32), halo))
        else:
            shade = np.clip(1.0 - lr / 6.5, 0.0, 1.0)
            lens = np.stack([0.22 + 0.12 * shade, 0.03 + 0.02 * shade, 0.03 + 0.02 * shade], -1)
            lens = np.clip(lens + hl[..., None] * 0.55, 0, 1)
            img = over(img, layer(img.shape, lens, disc(5.8, lr)))
        images[lit] = to_rgba_image(downsample(img, ss))
    save_png(images[True], "footswitchOnImage.png", (width, height))
    save_png(images[False], "footswitchOffImage.png", (width, height))


# ------------------------------------------------------------------------------------------------
# wordmark

def make_wordmark():
    width, height, ss = 176, 30, 8
    font = ImageFont.truetype(FONT_BOLD, 22 * ss)
    text = "Stompvale"
    tracking = 0.6 * ss
    # measure with letter spacing
    advances = [font.getlength(ch) for ch in text]
    total = sum(advances) + tracking * (len(text) - 1)
    left, top, right, bottom = font.getbbox(text)
    x = (width * ss - total) / 2.0
    y = (height * ss - (bottom - top)) / 2.0 - top
    mask = Image.new("L", (width * ss, height * ss), 0)
    d = ImageDraw.Draw(mask)
    pen = x
    for ch, adv in zip(text, advances):
        d.text((pen, y), ch, font=font, fill=255)
        pen += adv + tracking
    m = np.asarray(mask, dtype=np.float32) / 255.0
    # light lettering with a soft dark shadow so it reads on the wood
    shadow = np.roll(np.roll(m, ss, axis=0), ss, axis=1)
    shadow = blur(shadow, 1.2 * ss) * 0.75
    H, W = m.shape
    yy = np.mgrid[0:H, 0:W][0].astype(np.float32) / H
    face = np.stack([0.97 - 0.12 * yy, 0.96 - 0.12 * yy, 0.94 - 0.12 * yy], -1)
    out = layer(m.shape, np.zeros(3, np.float32), shadow)
    out = over(out, layer(m.shape, face, m))
    save_png(to_rgba_image(downsample(out, ss)), "makerWordmarkImage.png", (width, height))


def main():
    os.makedirs(OUT, exist_ok=True)
    which = set(sys.argv[1:])
    jobs = {"board": make_board_background, "led": make_led_letters, "body": make_pedal_body,
            "footswitch": make_footswitches, "wordmark": make_wordmark}
    for name, job in jobs.items():
        if not which or name in which:
            job()


if __name__ == "__main__":
    main()
