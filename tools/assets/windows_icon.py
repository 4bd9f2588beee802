"""The Windows program icon (resource 107 of the executables): the carried icon at the sizes the
shell asks for. Usage: windows_icon.py ICON_PNG OUT_ICO"""
import sys

from PIL import Image

SIZES = [(16, 16), (24, 24), (32, 32), (48, 48), (64, 64), (128, 128)]


def main():
    source, target = sys.argv[1], sys.argv[2]
    image = Image.open(source).convert("RGBA")
    image.save(target, format="ICO", sizes=SIZES)


if __name__ == "__main__":
    main()
