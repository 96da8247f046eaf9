"""Pieces of GIF image data shared by the fixture scripts: variable-width LZW codes packed
into bytes, and data cut into the format's sub-blocks."""


def pack_codes(codes):
    """Packs (code, width in bits) pairs, least significant bit first, as GIF stores them."""
    out, acc, n = bytearray(), 0, 0
    for code, bits in codes:
        acc |= code << n
        n += bits
        while n >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            n -= 8
    return bytes(out) + (bytes([acc]) if n else b"")


def sub_blocks(data):
    """The data in blocks of at most 255 bytes, each after its length, then a 0 block."""
    return b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                    for i in range(0, len(data), 255)) + b"\0"
