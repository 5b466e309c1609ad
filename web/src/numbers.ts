// The one reply the page reads itself: the decimal places of 设置小数数位, read by the same
// leading-number rule as every reply the commands read.

function radixDigits(digits: string, radix: number): number {
    let value = 0;
    for (const c of digits) {
        const digit = parseInt(c, 16);
        if (Number.isNaN(digit) || digit >= radix) break;
        value = value * radix + digit;
    }
    return value;
}

// The leading number of a reply, blanks, tabs and line feeds ignored wherever they stand: an
// optional sign, digits with at most one point, an exponent after E or D; "&H" and "&O" read
// hexadecimal and octal digits. 0 when nothing fits.
export function readLeadingNumber(text: string): number {
    const compact = text.replace(/[ \t\n]/g, '');
    if (compact.length >= 2 && compact[0] === '&') {
        const kind = compact[1]!.toUpperCase();
        if (kind === 'H') return radixDigits(compact.slice(2), 16);
        if (kind === 'O') return radixDigits(compact.slice(2), 8);
        return 0;
    }
    const match = /^([+-]?)(\d*\.?\d*)(?:[EeDd]([+-]?\d+))?/.exec(compact)!;
    const [, sign, digits, exponent] = match;
    if (!/\d/.test(digits!)) return 0;
    const value = Number(`${digits}${exponent !== undefined ? `e${exponent}` : ''}`);
    return sign === '-' ? -value : value;
}

// Nearest integer, halves to even; null outside -32768..32767 or for NaN.
export function toInteger16(value: number): number | null {
    if (Number.isNaN(value)) return null;
    let rounded = Math.round(value);
    if (rounded - value === 0.5 && rounded % 2 !== 0) rounded -= 1;
    if (rounded < -32768 || rounded > 32767) return null;
    return rounded;
}

// The decimal places a reply sets: 1 to 16, a value beyond the 16-bit range on the nearer end.
export function decimalDigitsFromReply(reply: string): number {
    const value = readLeadingNumber(reply);
    const wanted = toInteger16(value);
    if (wanted === null) return value > 0 ? 16 : 1;
    return Math.min(16, Math.max(1, wanted));
}
