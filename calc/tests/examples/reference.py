#!/usr/bin/python3
"""Reference calculation of the worm gear design, written from the formulas.

Reads designs as JSON lines (the keys of wormcalc's batch input) on standard
input and writes one result object per design on standard output, in the
form wormcalc --jsonl prints:

    {"lines": [{"label": "Label23", "text": "322-----蜗轮分度圆直径"}, ...]}
    {"error": "...", "lines": [... the lines written before the failure ...]}

It is the independent source of the golden files in this folder. It shares
no code with the program: the chains are written again from the design
formulas, on exact rationals (fractions), with pi, square roots and the
trigonometric functions computed to 60 decimal digits.

The number model. Exact mathematics is not what the program shows: its
numeric rules make the binary formats part of the result, so the reference
imitates them, each from the rule, not from the program:

* Every +, -, *, / of a formula is rounded to the 64-bit significand of the
  extended format (ties to even), in the order the formula is written; pi,
  pi/180 and the hob's fixed 0.2 are the extended numbers nearest to them;
  a square root, sine, cosine, tangent or arc tangent is the exact value
  rounded to the extended format.
* A value stored in the design record, an input read into it, a coefficient
  and the value handed to a decimal rounding are doubles: the extended value
  is rounded once more, to the nearest double. (So a value rounded by R3 is
  "the value after storing it to a double".)
* Decimal rounding (R3, R2, R0) divides that double by the double nearest to
  0.001 / 0.01 / 1, rounds the quotient to the extended format and only then
  rounds half to even. That decides the decimal ties: 0.0025 -> 0.002,
  45.0005 -> 45.001.
* The speed-ratio check compares |i - z2/z1|, formed in the extended format,
  with the extended number nearest to 0.001.
* Number texts are read digit by digit in the extended format.

The one thing left to chance is the last bit of the program's transcendental
functions, which the rules do not fix: reference and program can then differ
where a value lies within a unit of the 64th bit of a rounding tie.

Options:
    --mutate hob-length    hob effective length adds 1 instead of 0.5
    --mutate ratio-strict  the speed-ratio check refuses the bound itself
    --no-extended          diagnostic: +, -, *, / exact, not rounded to the
                           extended format (doubles and rounding as above)
    --decimal              diagnostic: no binary formats at all; inputs,
                           stored values and quotients are exact decimals
                           (shows the results that sit on a decimal tie
                           which only the binary numbers decide)
    --self-test            check the reference against the rounding, number
                           text and parsing rules and the worked example
"""

import decimal
import json
import math
import sys
from decimal import Decimal
from fractions import Fraction

WORK_DIGITS = 60
decimal.getcontext().prec = WORK_DIGITS

RATIO_MESSAGE = "输入参数不正确......（速比=齿数/头数）"
INPUT_MESSAGE = "您输入的内容不符合要求......（只能输入合法数字，且不能为空）"

MUTATIONS = set()
BINARY = EXTENDED = True  # set by set_mode()


class Failure(Exception):
    """The calculation ends with one of its two messages."""


class BadInput(Exception):
    """A design line the reference cannot take (not a calculation failure)."""


# ---------------------------------------------------------------------------
# Binary formats

def _round_bits(x, bits):
    """x rounded to a binary significand of `bits` bits, ties to even."""
    x = Fraction(x)
    if x == 0:
        return Fraction(0)
    m = abs(x)
    e = m.numerator.bit_length() - m.denominator.bit_length()
    if Fraction(2) ** e > m:
        e -= 1
    ulp = Fraction(2) ** (e - bits + 1)
    rounded = round(m / ulp) * ulp  # round() on a Fraction: half to even
    return rounded if x > 0 else -rounded


def ext(x):
    """x rounded to the 64-bit significand of the extended format."""
    return X(_round_bits(x, 64) if BINARY else x)


def real(x):
    """The double nearest to x: a value stored in the record or rounded."""
    if not BINARY:
        return X(x)
    try:
        return X(float(Fraction(x)))
    except OverflowError:
        raise Failure(INPUT_MESSAGE)  # storing an overflowing value


def _operation(x):
    """The result of one arithmetic operation of the formulas."""
    return ext(x) if EXTENDED else X(x)


class X(Fraction):
    """A number of the formulas: every + - * / is rounded like the program's
    extended arithmetic (exactly, with --no-extended or --decimal)."""

    def __new__(cls, value=0, denominator=None):
        if denominator is not None:
            return super().__new__(cls, value, denominator)
        return super().__new__(cls, value)

    def __add__(a, b):
        return _operation(Fraction(a) + Fraction(b))

    def __sub__(a, b):
        return _operation(Fraction(a) - Fraction(b))

    def __mul__(a, b):
        return _operation(Fraction(a) * Fraction(b))

    def __truediv__(a, b):
        if b == 0:
            raise Failure(INPUT_MESSAGE)  # zero divide, or 0/0
        return _operation(Fraction(a) / Fraction(b))

    def __radd__(b, a):
        return X(a) + b

    def __rsub__(b, a):
        return X(a) - b

    def __rmul__(b, a):
        return X(a) * b

    def __rtruediv__(b, a):
        return X(a) / b

    def __neg__(a):
        return X(-Fraction(a))

    def __abs__(a):
        return X(abs(Fraction(a)))


# ---------------------------------------------------------------------------
# Rounding and truncation

INT64_MAX = 2 ** 63 - 1


def _checked_int64(n):
    if not -INT64_MAX - 1 <= n <= INT64_MAX:
        raise Failure(INPUT_MESSAGE)  # conversion out of the Int64 range
    return n


def decimal_round(value, digit):
    """DecimalRound(value, digit) for digit -3, -2 or 0 (R3, R2, R0)."""
    factor = X(1) if digit == 0 else real(ext(Fraction(1, 10 ** -digit)))
    quotient = ext(Fraction(real(value)) / Fraction(factor))
    n = _checked_int64(round(quotient))  # round() on a Fraction: half to even
    return real(ext(n * Fraction(factor)))


def R3(x):
    return decimal_round(x, -3)


def R2(x):
    return decimal_round(x, -2)


def R0(x):
    return decimal_round(x, 0)


def T(x):
    """Truncation toward zero to an Int64."""
    return _checked_int64(math.trunc(Fraction(x)))


# ---------------------------------------------------------------------------
# Pi, square root and trigonometry: computed with WORK_DIGITS decimals and
# then rounded to the extended format (radians)

def _dec(x):
    x = Fraction(x)
    return Decimal(x.numerator) / Decimal(x.denominator)


def _compute_pi():
    with decimal.localcontext() as ctx:
        ctx.prec = WORK_DIGITS + 10
        # Machin: pi = 16 atan(1/5) - 4 atan(1/239)
        def atan_inv(n):
            total, power, k, sign = Decimal(0), Decimal(1) / n, 1, 1
            n2 = n * n
            while True:
                term = power / k
                if term < Decimal(10) ** -(WORK_DIGITS + 8):
                    return total
                total += sign * term
                power /= n2
                k += 2
                sign = -sign
        return 16 * atan_inv(5) - 4 * atan_inv(239)


PI_DECIMAL = _compute_pi()
EPS = Decimal(10) ** -(WORK_DIGITS + 5)


def sqrt(x):
    if x < 0:
        raise Failure(INPUT_MESSAGE)  # square root of a negative number
    return ext(Fraction(_dec(x).sqrt()))


def _sin_cos(x):
    """sin and cos of a Decimal x in radians."""
    with decimal.localcontext() as ctx:
        ctx.prec = WORK_DIGITS + 10
        x = x % (2 * PI_DECIMAL)
        s, c = Decimal(0), Decimal(0)
        term, n = Decimal(1), 0
        while abs(term) > EPS or n < 2:
            if n % 4 == 0:
                c += term
            elif n % 4 == 1:
                s += term
            elif n % 4 == 2:
                c -= term
            else:
                s -= term
            n += 1
            term = term * x / n
        return s, c


def sin(x):
    return ext(Fraction(_sin_cos(_dec(x))[0]))


def cos(x):
    return ext(Fraction(_sin_cos(_dec(x))[1]))


def tan(x):
    s, c = _sin_cos(_dec(x))
    if c == 0:
        raise Failure(INPUT_MESSAGE)
    return ext(Fraction(s / c))


def _atan_dec(x):
    with decimal.localcontext() as ctx:
        ctx.prec = WORK_DIGITS + 10
        if x < 0:
            return -_atan_dec(-x)
        if x > 1:
            return PI_DECIMAL / 2 - _atan_dec(1 / x)
        for _ in range(3):  # atan(x) = 2 atan(x / (1 + sqrt(1 + x^2)))
            x = x / (1 + (1 + x * x).sqrt())
        total, power, k, x2 = Decimal(0), x, 1, x * x
        sign = 1
        while abs(power) / k > EPS:
            total += sign * power / k
            power *= x2
            k += 2
            sign = -sign
        return 8 * total


def atan(x):
    return ext(Fraction(_atan_dec(_dec(x))))


def asin(x):
    """Arc sine as the two-argument arc tangent of x and sqrt(1 - x*x);
    |x| > 1 is a failure."""
    rest = 1 - x * x
    root = sqrt(rest)
    if root == 0:
        return ext(Fraction(_dec(x) * PI_DECIMAL / 2))
    return ext(Fraction(_atan_dec(_dec(x) / _dec(root))))


HALF = X(1, 2)


def set_mode(binary=True, extended=True):
    """Chooses the number model (see the options) and the constants with it."""
    global BINARY, EXTENDED, PI, PI_180, FIFTH
    BINARY, EXTENDED = binary, extended and binary
    PI = ext(Fraction(PI_DECIMAL))              # pi in the extended format
    PI_180 = ext(Fraction(PI_DECIMAL / 180))    # one constant, generating plane only
    FIFTH = ext(Fraction(1, 5))                 # the fixed 0.2 module of the hob


set_mode()


def rad(degrees):
    return degrees * PI / 180


def deg(radians):
    return radians * 180 / PI


# ---------------------------------------------------------------------------
# Number texts

def parse_real(text):
    """Text to number by the reading rule ('.' as separator); None if rejected."""
    pos, n = 0, len(text)
    while pos < n and text[pos] == " ":
        pos += 1
    negative = False
    if pos < n and text[pos] in "+-":
        negative = text[pos] == "-"
        pos += 1
    value, digits_seen, fraction_digits = Fraction(0), False, 0
    while pos < n and text[pos].isascii() and text[pos].isdigit():
        value = ext(value * 10 + int(text[pos]))
        digits_seen = True
        pos += 1
    if pos < n and text[pos] == ".":
        digits_seen = True
        pos += 1
        while pos < n and text[pos].isascii() and text[pos].isdigit():
            value = ext(value * 10 + int(text[pos]))
            fraction_digits += 1
            pos += 1
    if not digits_seen:
        return None
    exponent = 0
    if pos < n and text[pos] in "eE":
        pos += 1
        exponent_negative = False
        if pos < n and text[pos] in "+-":
            exponent_negative = text[pos] == "-"
            pos += 1
        while pos < n and text[pos].isascii() and text[pos].isdigit() and exponent < 500:
            exponent = exponent * 10 + int(text[pos])
            pos += 1
        if exponent_negative:
            exponent = -exponent
    while pos < n and text[pos] == " ":
        pos += 1
    if pos != n:
        return None
    scale = exponent - fraction_digits
    if scale >= 0:
        value = ext(value * ext(Fraction(10) ** scale))
    else:
        value = ext(value / ext(Fraction(10) ** -scale))
    if value != 0 and abs(value) >= Fraction(2) ** 16384:
        return None  # beyond the extended range
    return -value if negative else value


def parse_integer(text):
    """Text to a 32-bit integer by the reading rule; None if rejected."""
    pos, n = 0, len(text)
    while pos < n and text[pos] == " ":
        pos += 1
    negative = False
    if pos < n and text[pos] in "+-":
        negative = text[pos] == "-"
        pos += 1
    rest = text[pos:]
    base = 10
    for prefix in ("0x", "0X", "$", "x", "X"):
        if rest.startswith(prefix):
            base, rest = 16, rest[len(prefix):]
            break
    allowed = "0123456789abcdefABCDEF" if base == 16 else "0123456789"
    if not rest or any(ch not in allowed for ch in rest):
        return None
    value = int(rest, base)
    value = -value if negative else value
    if not -2 ** 31 <= value <= 2 ** 31 - 1:
        return None
    return value


def format_real(x):
    """General format with 15 significant digits, '.' as separator."""
    x = Fraction(x)
    if x == 0 or abs(x) < Fraction(2) ** -16382:
        return "0"
    magnitude = abs(x)
    # exponent E with 10^(E-1) <= magnitude < 10^E
    E = len(str(magnitude.numerator)) - len(str(magnitude.denominator))
    while Fraction(10) ** E <= magnitude:
        E += 1
    while Fraction(10) ** (E - 1) > magnitude:
        E -= 1
    digits18 = round(magnitude * Fraction(10) ** (18 - E))  # half to even
    if digits18 == 10 ** 18:
        digits18, E = 10 ** 17, E + 1
    text18 = str(digits18)
    digits15 = int(text18[:15]) + (1 if text18[15] >= "5" else 0)
    if digits15 == 10 ** 15:
        digits15, E = 10 ** 14, E + 1
    digits = str(digits15).rstrip("0")
    if -3 <= E <= 15:
        if E > 0:
            whole = digits[:E].ljust(E, "0")
            rest = digits[E:]
            text = whole + ("." + rest if rest else "")
        else:
            text = "0." + "0" * -E + digits
    else:
        text = digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
        text += "E" + ("-" if E - 1 < 0 else "") + str(abs(E - 1))
    return "-" + text if x < 0 else text


def format_integer(n):
    n = (n + 2 ** 31) % 2 ** 32 - 2 ** 31  # the low 32 bits, signed
    return str(n)


# ---------------------------------------------------------------------------
# The calculation

# Panel order: the order in which each panel lists its lines.
PANEL_ORDER = [
    "Label23", "Label24", "Label8", "Label10", "Label9", "Label11", "Label12",
    "Label13", "Label14", "Label16", "Label17", "Label25", "Label26", "Label27",
    "Label28", "Label48", "Label43",
    "Label18", "Label19", "Label20", "Label21", "Label22", "Label29", "Label49",
    "Label33", "Label35", "Label34", "Label44", "Label45", "Label40",
    "Label41", "Label42", "Label51", "Label52",
]

SUFFIX = {
    "Label23": "-----蜗轮分度圆直径", "Label24": "-----E值",
    "Label8": "-----蜗杆齿根圆弧半径", "Label10": "-----蜗杆工作长度",
    "Label9": "-----蜗杆齿顶圆弧半径", "Label11": "-----轴肩",
    "Label12": "-----主基圆直径", "Label13": "-----母平面倾斜角",
    "Label14": "-----压力角", "Label16": "-----测量齿厚",
    "Label17": "-----测量齿高", "Label25": "-----端面模数",
    "Label26": "-----包围齿数", "Label27": "-----工作半包角",
    "Label28": "-----蜗杆喉部导程角", "Label48": "-----蜗杆最大齿顶圆直径",
    "Label43": "-----蜗杆齿顶宽",
    "Label18": "-----刀体齿顶圆弧半径", "Label19": "-----刀体齿跟圆弧半径",
    "Label20": "-----滚刀有效长度", "Label21": "-----滚刀测量齿厚",
    "Label22": "-----滚刀测量齿高", "Label29": "-----滚刀包络齿数",
    "Label49": "-----滚刀齿顶宽",
    "Label33": "-----蜗轮最大外圆", "Label35": "-----蜗轮喉径",
    "Label34": "-----齿圈工作宽度", "Label44": "------蜗轮测量齿厚",
    "Label45": "------蜗轮测量齿高", "Label40": "-----蜗轮齿顶圆弧半径",
    "Label41": "----修形砂轮角", "Label42": "----修形传动比",
    "Label51": "----修形中心距", "Label52": "----修形主基圆直径",
}

FIELD_DEFAULTS = {
    "centre-distance": "", "speed-ratio": "", "teeth": "", "starts": "1",
    "base-diameter": "", "eccentricity": "0", "pitch-diameter": "",
    "backlash": "0.3", "grinding-increment": "0.2",
}


def read_real(text):
    value = parse_real(text)
    if value is None:
        raise Failure(INPUT_MESSAGE)
    return real(value)


def read_integer(text):
    value = parse_integer(text)
    if value is None:
        raise Failure(INPUT_MESSAGE)
    return value


def plane_angle(k, alpha, d, A, i):
    """Inclination (degrees, unrounded) of the generating plane for the ratio
    class angle k, the pressure angle alpha, the pitch diameter d, the centre
    distance A and the ratio i:

        tan(beta) = cos(alpha) cos(alpha + k) u / ((cos(alpha + k) - cos(alpha) u) i),
        u = d / 2A,

    evaluated in the order the formula prescribes, with one constant pi/180.
    """
    cos_ak = cos((k + alpha) * PI_180)
    cos_a = cos(alpha * PI_180)
    numerator = cos_a * (((cos_ak * d) / A) / 2)
    denominator = (cos_ak - cos_a * ((d / A) / 2)) * i
    return atan(numerator / denominator) * 180 / PI


def tip_width(radius, E, thickness, height, alpha):
    """Tooth tip width (R2) from the tip arc radius, the tooth thickness on
    the pitch circle, the measuring height and the pressure angle."""
    theta = deg(atan((thickness / 2) / (radius - E + height)))
    return R2(2 * (thickness / 2 - height * tan(rad(theta + alpha))))


def calculate(fields, round_teeth, c, lines):
    """Runs one calculation; writes lines[label] = line text as it goes.
    Every name bound to real(...) or R3/R2/R0(...) is a field of the design
    record (a double); the others are temporaries of the extended format."""
    def show(label, text):
        lines[label] = text + SUFFIX[label]

    # Inputs, the speed-ratio check and the ratio class
    A = read_real(fields["centre-distance"])
    i = read_real(fields["speed-ratio"])
    z2 = read_integer(fields["teeth"])
    z1 = read_integer(fields["starts"])
    difference = abs(i - X(z2) / z1)
    bound = ext(Fraction(1, 1000))
    passes = difference < bound if "ratio-strict" in MUTATIONS else difference <= bound
    if not passes:
        raise Failure(RATIO_MESSAGE)
    k = 4 if i < 10 else 8 if i > 30 else 6
    Db = read_real(fields["base-diameter"])
    E = read_real(fields["eccentricity"])
    d1 = read_real(fields["pitch-diameter"])
    jn = read_real(fields["backlash"])
    show("Label24", format_real(E))

    # Worm
    d2 = R3(2 * A - d1)
    show("Label23", format_real(d2))
    mt = R3(d2 / z2)
    hf = R3(c[1] * mt)
    df1 = R3(d1 - 2 * hf)
    Rf1 = R3(A - df1 / 2)
    show("Label8", format_real(R3(Rf1)))
    ha = R3(c[2] * mt)
    da1 = real(d1 + 2 * ha)
    Ra1 = R3(A - da1 / 2 + E)
    show("Label9", format_real(Ra1))
    tau = R3(X(360) / z2)
    K = real(T(X(z2) / 10 + HALF) + (0 if round_teeth else c[7]))
    phi = R3(HALF * tau * (K - c[3]))
    L = R0(d2 * sin(rad(phi)) + 1)
    show("Label10", format_real(L))
    shoulder = T(c[6] * mt)
    show("Label11", format_integer(shoulder))
    show("Label12", format_real(Db))
    gamma = R3(deg(atan(d2 / i / d1)))
    alpha = R3(deg(asin(Db / d2)))
    show("Label14", format_real(alpha))
    p = R3(PI * mt)
    beta = real(plane_angle(k, alpha, d2, A, i))
    show("Label13", format_real(R3(beta)))
    sx1 = R3(p - c[5] * p - jn)
    sn1 = R3(cos(rad(gamma)) * sx1)
    show("Label16", format_real(sn1))
    h1 = R3(ha - (1 - cos(asin(sx1 / d2))) * (HALF * d2))
    show("Label17", format_real(h1))
    show("Label25", format_real(mt))
    show("Label26", format_real(K))
    show("Label27", format_real(phi))
    show("Label28", format_real(gamma))

    # Hob, up to its measuring height
    Ra0 = R3((Ra1 - FIFTH * mt) - c[8] * mt)
    show("Label18", format_real(Ra0))
    show("Label19", format_real(Rf1 + c[9]))
    K0 = real(T(K) + c[11])
    phi0 = R3(HALF * tau * (K0 - c[10]))
    hob_add = 1 if "hob-length" in MUTATIONS else HALF
    L0 = R0(d2 * sin(rad(phi0)) + hob_add)
    show("Label20", format_real(L0))
    show("Label21", format_real(sn1 + jn))
    sx0 = R3((sn1 + jn) / cos(rad(gamma)))
    h0 = R3(FIFTH * mt + h1 + c[8] * mt)
    show("Label22", format_real(h0))
    show("Label29", format_real(K0))

    # Wheel
    de2 = R0(2 * ha + d2 + c[13] * mt)
    s2 = R3(p * c[5])
    show("Label44", format_real(R3(cos(rad(gamma)) * s2)))
    show("Label45", format_real(R3((1 - cos(asin(s2 / d2))) * (HALF * d2) + ha)))
    show("Label33", format_real(de2))
    b2 = T(c[14] * d1)
    show("Label34", format_real(b2))
    show("Label35", format_real(R3(2 * ha + d2)))

    # The values that need the working length, then the tip widths
    show("Label48", format_real(R3(2 * ((A + E) - sqrt(Ra1 * Ra1 - (L / 2) * (L / 2))))))
    show("Label40", format_real(R0((A - sqrt(Rf1 * Rf1 - (L / 2) * (L / 2))) * (2 * c[12]))))
    show("Label43", format_real(tip_width(Ra1, E, sx1, h1, alpha)))
    show("Label49", format_real(tip_width(Ra0, E, sx0, h0, alpha)))

    # Worm modification
    delta = read_real(fields["grinding-increment"])
    im = R3((z2 + delta) / z1)
    Am = real(delta * mt / 2 + A)
    d2m = real((z2 + delta) * mt)
    Dbm = real(sin(rad(alpha)) * d2m)
    alpha_m = real(deg(asin(Dbm / d2m)))
    beta_m = real(plane_angle(k, alpha_m, d2m, Am, im))
    show("Label41", format_real(R3(beta_m)))
    show("Label42", format_real(im))
    show("Label51", format_real(R3(Am)))
    show("Label52", format_real(R3(Dbm)))


def parse_coefficients(items):
    if isinstance(items, str):
        items = items.split(",")
    if not isinstance(items, list) or len(items) != 15:
        raise BadInput("coefficients: a list of 15 number texts is needed")
    table = []
    for item in items:
        try:
            table.append(real(Fraction(Decimal(item))))
        except (ValueError, decimal.InvalidOperation, TypeError):
            raise BadInput("coefficients: %r is not a number" % (item,))
    return table


def run_design(design):
    """One design object (batch-input keys) -> one result object."""
    fields = dict(FIELD_DEFAULTS)
    round_teeth, coefficients = False, None
    for key, value in design.items():
        if key in FIELD_DEFAULTS:
            if not isinstance(value, str):
                raise BadInput("%s must be a string" % key)
            fields[key] = value
        elif key == "round-teeth":
            if not isinstance(value, bool):
                raise BadInput("round-teeth must be true or false")
            round_teeth = value
        elif key == "coefficients":
            coefficients = parse_coefficients(value)
        else:
            raise BadInput("unknown key %r" % key)
    if coefficients is None:
        raise BadInput("the reference needs the coefficients in every design")
    lines, result = {}, {}
    try:
        calculate(fields, round_teeth, coefficients, lines)
    except Failure as failure:
        result["error"] = str(failure)
    result["lines"] = [{"label": label, "text": lines[label]}
                       for label in PANEL_ORDER if label in lines]
    return result


def run_stream(source, sink):
    for number, text in enumerate(source, 1):
        if not text.strip():
            continue
        try:
            result = run_design(json.loads(text))
        except (BadInput, ValueError) as problem:
            sys.exit("reference.py: line %d: %s" % (number, problem))
        sink.write(json.dumps(result, ensure_ascii=False, separators=(",", ":")) + "\n")


# ---------------------------------------------------------------------------
# Self-test against the rules and the worked example

WORKED_COEFFICIENTS = ["0.875", "1.2", "0.7", "0.45", "0", "0.55", "2", "0.5",
                       "0.2", "0.2", "0.45", "1", "0.5", "1", "0.9"]
WORKED_INPUTS = {"centre-distance": "200", "speed-ratio": "25", "teeth": "50",
                 "starts": "2", "base-diameter": "130", "eccentricity": "0",
                 "pitch-diameter": "78", "backlash": "0.3",
                 "grinding-increment": "0.2"}
# label: (number text with the round-to-integer box clear, ticked)
WORKED_TABLE = {
    "Label23": ("322", "322"), "Label24": ("0", "0"),
    "Label8": ("168.728", "168.728"), "Label10": ("101", "92"),
    "Label9": ("156.492", "156.492"), "Label11": ("12", "12"),
    "Label12": ("130", "130"), "Label13": ("11.025", "11.025"),
    "Label14": ("23.811", "23.811"), "Label16": ("8.686", "8.686"),
    "Label17": ("4.448", "4.448"), "Label25": ("6.44", "6.44"),
    "Label26": ("5.5", "5"), "Label27": ("18.18", "16.38"),
    "Label28": ("9.377", "9.377"), "Label48": ("103.76", "100.843"),
    "Label43": ("4.58", "4.58"), "Label18": ("153.916", "153.916"),
    "Label19": ("168.928", "168.928"), "Label20": ("111", "111"),
    "Label21": ("8.986", "8.986"), "Label22": ("7.024", "7.024"),
    "Label29": ("6", "6"), "Label49": ("2.43", "2.43"),
    "Label33": ("337", "337"), "Label35": ("331.016", "331.016"),
    "Label34": ("70", "70"), "Label44": ("10.979", "10.979"),
    "Label45": ("4.604", "4.604"), "Label40": ("39", "38"),
    "Label41": ("11.038", "11.038"), "Label42": ("25.1", "25.1"),
    "Label51": ("200.644", "200.644"), "Label52": ("130.518", "130.518"),
}


def self_test():
    failures = []

    def expect(what, got, want):
        if got != want:
            failures.append("%s: got %r, want %r" % (what, got, want))

    def typed(text):
        return real(parse_real(text))

    for text, digit, want in [
            ("0.0005", -3, "0"), ("0.0015", -3, "0.002"), ("0.0025", -3, "0.002"),
            ("0.0035", -3, "0.004"), ("1.0005", -3, "1"), ("45.0005", -3, "45.001"),
            ("12.3456", -3, "12.346"), ("-1.2345", -3, "-1.234"), ("-0.0005", -3, "0"),
            ("2.675", -2, "2.67"), ("0.125", -2, "0.12"), ("0.135", -2, "0.14"),
            ("2.5", 0, "2"), ("3.5", 0, "4"), ("-2.5", 0, "-2")]:
        expect("round %s to %d" % (text, digit),
               format_real(decimal_round(typed(text), digit)), want)
    for value, want in [
            (ext(typed("0.1") + typed("0.2")), "0.3"), (Fraction(12345, 10), "1234.5"),
            (100, "100"), (Fraction(-5, 2), "-2.5"), (ext(Fraction(1, 3)), "0.333333333333333"),
            (ext(Fraction(2, 3)), "0.666666666666667"), (ext(PI), "3.14159265358979"),
            (123456789012345, "123456789012345"), (10 ** 15, "1E15"),
            (Fraction(9999999999999995, 10), "1E15"), (10 ** 20, "1E20"),
            (typed("0.0001"), "0.0001"), (typed("0.000123"), "0.000123"),
            (typed("0.00001"), "1E-5"), (typed("0.00000015"), "1.5E-7"),
            (R3(typed("12.3456")), "12.346")]:
        expect("format %s" % float(value), format_real(value), want)
    for text, want in [("  12.5  ", "12.5"), ("5.", "5"), (".5", "0.5"), (".", "0"),
                       ("1e3", "1000"), ("1E+3", "1000"), ("1e", "1")]:
        got = parse_real(text)
        expect("parse %r" % text, None if got is None else format_real(got), want)
    for text in ["", "   ", "-", "e3", "12a", "1.2.3", "1,5", "1\t"]:
        expect("parse %r" % text, parse_real(text), None)
    for text, want in [(" 7", 7), ("+7", 7), ("$1F", 31), ("0x1F", 31),
                       ("-2147483648", -2 ** 31)]:
        expect("integer %r" % text, parse_integer(text), want)
    for text in ["7 ", "7.0", "", "2147483648"]:
        expect("integer %r" % text, parse_integer(text), None)
    for ticked in (False, True):
        design = dict(WORKED_INPUTS, coefficients=WORKED_COEFFICIENTS)
        design["round-teeth"] = ticked
        result = run_design(design)
        expect("worked example error", result.get("error"), None)
        got = {line["label"]: line["text"] for line in result["lines"]}
        want = {label: texts[ticked] + SUFFIX[label] for label, texts in WORKED_TABLE.items()}
        expect("worked example lines (ticked=%s)" % ticked, got, want)
    for failure in failures:
        print("FAIL", failure)
    print("self-test: %d failures" % len(failures))
    return 1 if failures else 0


def main(argv):
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--mutate" and args:
            MUTATIONS.add(args.pop(0))
        elif arg == "--decimal":
            set_mode(binary=False)
        elif arg == "--no-extended":
            set_mode(extended=False)
        elif arg == "--self-test":
            return self_test()
        elif arg == "--jsonl":
            pass  # accepted so that the reference runs where wormcalc --jsonl would
        else:
            sys.exit(__doc__)
    unknown = MUTATIONS - {"hob-length", "ratio-strict"}
    if unknown:
        sys.exit("reference.py: unknown mutation %s" % ", ".join(sorted(unknown)))
    run_stream(sys.stdin, sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
