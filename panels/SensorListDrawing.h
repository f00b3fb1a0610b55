#pragma once

class QComboBox;

/// Draws the active-sensor list by the program: every item, and the closed list's face,
/// on its sensor's colour with "Sensor: n" in bold black.
void drawSensorList(QComboBox *list);
