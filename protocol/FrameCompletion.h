#pragma once

/// True when the bytes read so far are exactly one whole frame: an 8-byte frame opened by
/// two equal start bytes, or a measurement frame of the length its status byte announces.
/// A partial frame, or a frame with more bytes behind it, is not whole.
bool isWholeFrame(const char *data, int size);
