# SPDX-License-Identifier: GPL-3.0-or-later
"""The work of a publish done with Pillow, as a user might script it instead:
every photo decoded once at full scale, then a 128 x 96 thumbnail (quality 75)
and an 800 x 600 copy (quality 85) resampled with Lanczos and written as
progressive JPEG, one process per core.

    python3 pillow_peer.py <output folder> <photo>...

Prints the peak memory of all its processes together, in kilobytes, as JSON.
"""

import json
import multiprocessing
import os
import resource
import sys

from PIL import Image

SIZES = [("thums", "th_", 128, 96, 75), ("images", "", 800, 600, 85)]


def fitted(width, height, max_width, max_height):
    """The largest size within the maxima, never enlarged."""
    factor = min(max_width / width, max_height / height, 1.0)
    return int(width * factor), int(height * factor)


def publish(task):
    output, photo = task
    name = os.path.splitext(os.path.basename(photo))[0] + ".jpg"
    with Image.open(photo) as image:
        image.load()
        for folder, prefix, max_width, max_height, quality in SIZES:
            size = fitted(image.width, image.height, max_width, max_height)
            scaled = image if size == image.size else image.resize(size, Image.LANCZOS)
            scaled.save(os.path.join(output, folder, prefix + name), "JPEG", quality=quality,
                        progressive=True)
    return os.getpid(), resource.getrusage(resource.RUSAGE_SELF).ru_maxrss


def main():
    output, photos = sys.argv[1], sys.argv[2:]
    for folder, *_ in SIZES:
        os.makedirs(os.path.join(output, folder), exist_ok=True)
    peaks = {}
    with multiprocessing.Pool(os.cpu_count()) as pool:
        for pid, peak in pool.imap_unordered(publish, [(output, p) for p in photos]):
            peaks[pid] = max(peaks.get(pid, 0), peak)
    own = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print(json.dumps({"peak_kb": own + sum(peaks.values())}))


if __name__ == "__main__":
    main()
