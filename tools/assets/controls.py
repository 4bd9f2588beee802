"""Screen geometry the art has to match: where the main screen places each picture, the wheel
controls' polygons, the label geometry and the action tiles. Window pixels, origin top left."""

# Where the main screen draws its static pictures: region -> top-left corner.
STATIC_PLACES = {6: None, 34: (57, 20), 55: (965, 0), 19: (986, 479), 8: (9, 481),
                 30: (8, 152), 67: (810, 152), 109: (225, 94), 110: (322, 90)}

WHEEL_CENTRE = (510, 276)
SLIDER_RADIUS = 220

# Widgets of the main screen in their default look: (normal region, top-left corner).
WIDGET_DEFAULTS = [
    (15, (990, 8)), (35, (990, 36)), (25, (990, 64)), (0, (13, 18)),
    (14, (54, 491)), (5, (160, 491)), (66, (268, 491)), (59, (396, 491)), (20, (491, 491)),
    (58, (568, 531)), (57, (599, 531)), (57, (630, 531)),
    (33, (562, 5)), (70, (629, 5)), (54, (699, 5)),
    (44, (779, 5)), (45, (840, 5)), (47, (902, 5)),
]

# Wheel controls: (label side, anchor, polygon).
CONTROLS = [
    ("left", (82, 256), [(74, 232), (98, 256), (76, 279), (67, 262), (66, 248)]),
    ("right", (119, 256), [(131, 231), (140, 249), (140, 262), (130, 281), (106, 256)]),
    ("above", (102, 244), [(78, 228), (99, 218), (112, 219), (127, 227), (102, 253)]),
    ("below", (102, 282), [(102, 260), (126, 284), (111, 292), (96, 292), (79, 283)]),
    ("below", (596, 304), [(582, 287), (608, 287), (608, 313), (582, 313)]),
    ("above", (588, 268), [(575, 259), (601, 259), (601, 285), (575, 285)]),
    ("below", (424, 304), [(411, 287), (437, 287), (437, 313), (411, 313)]),
    ("above", (431, 268), [(418, 259), (444, 259), (444, 285), (418, 285)]),
    ("left", (53, 228), [(24, 234), (35, 209), (63, 227), (60, 234)]),
    ("above", (59, 202), [(39, 204), (63, 182), (80, 213), (67, 222)]),
    ("above", (89, 186), [(69, 180), (100, 171), (100, 207), (86, 210)]),
    ("above", (118, 183), [(106, 172), (137, 179), (121, 210), (106, 207)]),
    ("above", (145, 204), [(126, 213), (143, 182), (167, 203), (139, 222)]),
    ("right", (169, 228), [(143, 227), (171, 208), (182, 234), (147, 234)]),
    ("above", (436, 170), [(424, 164), (447, 164), (447, 188), (424, 188)]),
    ("above", (584, 170), [(572, 164), (595, 164), (595, 188), (572, 188)]),
    ("above", (953, 178), [(965, 167), (960, 185), (929, 208), (922, 201), (947, 171)]),
    ("above", (869, 257), [(894, 227), (901, 233), (875, 263), (859, 267), (863, 250)]),
    ("below", (961, 296), [(928, 234), (969, 294), (970, 311), (954, 302), (920, 239)]),
]

# Actions: (tile region, palette rectangle x, y, w, h).
ACTIONS = [
    (72, (702, 515, 27, 30)), (77, (738, 515, 27, 30)), (101, (774, 515, 27, 30)),
    (102, (810, 515, 27, 30)), (100, (882, 515, 27, 30)), (80, (846, 475, 27, 30)),
    (88, (882, 475, 27, 30)), (95, (846, 515, 27, 30)), (87, (702, 475, 27, 30)),
    (89, (774, 475, 27, 30)), (83, (702, 555, 27, 30)), (94, (738, 475, 27, 30)),
    (96, (810, 475, 27, 30)), (90, (738, 555, 27, 30)), (97, (36666, 40435, 141, 27)),
    (81, (774, 555, 27, 30)), (82, (810, 555, 27, 30)), (74, (954, 515, 27, 30)),
    (75, (954, 475, 27, 30)), (76, (918, 475, 27, 30)), (73, (918, 515, 27, 30)),
]

# Input slot of each wheel control (the hidden slots 4 and 5 have no control).
CONTROL_SLOTS = [9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22, 21, 20, 23, 24, 6, 7, 8]

# Function code -> action when a slot is read (codes 18, 20 and 21 depend on the sign).
CODE_ACTIONS = {12: 0, 11: 1, 10: 2, 9: 3, 8: 4, 7: 5, 6: 6, 5: 7, 15: 8, 16: 9, 2: 10, 14: 11,
                17: 12, 1: 13, 22: 14}

# Factory profile 1, the record a receiver without stored profiles shows first.
FACTORY_PROFILE_1 = bytes.fromhex(
    "0F04051718000000030D041210110B0A0C060508"
    "070C0B0A090F10020E1101121200000001000100"
    "0100000000000000010001000100010001000100"
    "010001000100010001000100FF0001000100FF00"
    "01000080FF7F0000B80B0000FF7F000040400000")

POINTER_REGIONS = {"right": 104, "left": 105, "below": 106, "above": 103}


def action_for_slot(record, slot):
    code = record[8 + slot]
    param = int.from_bytes(record[36 + 2 * slot:38 + 2 * slot], "little", signed=True)
    if code == 18:
        return 15 if param < 0 else 16
    if code == 20:
        return 17 if param < 0 else 18
    if code == 21:
        return 20 if param < 0 else 19
    return CODE_ACTIONS.get(code, -1)


def label_places(side, anchor, sw, sh):
    """Pointer and label top-left corners for a label of sw by sh beside an anchor."""
    ax, ay = anchor
    if side == "right":
        return (ax, ay - 12), (ax + 18, ay - 13)
    if side == "left":
        return (ax - 20, ay - 13), (ax - 18 - sw, ay - 14)
    if side == "below":
        return (ax - 13, ay), (ax - (sw >> 1), ay + 18)
    return (ax - 13, ay - 20), (ax - (sw >> 1), ay - 18 - sh)
