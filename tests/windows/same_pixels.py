"""Compares two PNG pictures pixel for pixel (R, G, B and A). Usage: same_pixels.py A B
Exit 0 when equal; 1, saying how many pixels differ and where the first lies, when not."""
import sys

from PIL import Image


def main():
    first = Image.open(sys.argv[1]).convert("RGBA")
    second = Image.open(sys.argv[2]).convert("RGBA")
    if first.size != second.size:
        print(f"sizes differ: {first.size} and {second.size}")
        return 1
    a, b = first.tobytes(), second.tobytes()
    if a == b:
        return 0
    width = first.size[0]
    differing = [i // 4 for i in range(0, len(a), 4) if a[i:i + 4] != b[i:i + 4]]
    x, y = differing[0] % width, differing[0] // width
    print(f"{len(differing)} pixels differ; the first at ({x}, {y}): "
          f"{tuple(a[differing[0] * 4:differing[0] * 4 + 4])} and "
          f"{tuple(b[differing[0] * 4:differing[0] * 4 + 4])}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
