#pragma once

#include <QPixmap>

/// The 16×16 marks in front of the wizard's rows.
enum class Mark { Blank, Pending, Done, Failed };

QPixmap markPicture(Mark mark);
