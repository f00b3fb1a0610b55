#pragma once

class QLabel;
class QString;

/// Fixes the label's size to what its widest expected text needs. A label whose text changes
/// many times a second would otherwise ask its window for a new layout at each change, and the
/// window repaints all of itself every time.
void holdLabelSize(QLabel *label, const QString &widestText);
