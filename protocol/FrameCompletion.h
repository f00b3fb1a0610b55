#pragma once

/// True when the bytes read so far are exactly one whole frame: an 8-byte frame opened by
/// two equal start bytes, or a measurement frame of the length its status byte announces.
/// A partial frame, or a frame with more bytes behind it, is not whole.
bool isWholeFrame(const char *data, int size);

/// True when the bytes hold a whole measurement frame at their start, as its decoding takes them.
bool holdsMeasurement(const char *data, int size);
