#pragma once

// The list that Compare shows: each setting whose value in the window differs from another
// file's, the window's value beside the file's, secrets masked; it scrolls, fits the screen,
// and changes nothing.

#include "documentdiff.h"

class QWidget;

void showComparison(QWidget *parent, const QString &fileName,
                    const QList<Prefs::Difference> &differences);
