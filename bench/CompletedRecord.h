#pragma once

// A record of the worst-case search as its finds are kept: one whose text ends in "*" gets its
// labels from its numbering fields, as typing them makes them (a graph paper numbered over a
// million cells is megabytes long). Any other record is returned as it is.
#include "figures/Fields.h"
#include "figures/Figures.h"
#include "figures/Record.h"

#include <QString>

namespace koyomi::bench {

inline QString completedRecord(QString line)
{
    if (!line.endsWith(u'*')) {
        return line;
    }
    line.chop(1);
    const auto cut = figures::parseRecord(line);
    if (!cut || cut->kind < 0 || cut->kind >= figures::kFigureCount ||
        !figures::figureTable()[std::size_t(cut->kind)].fields) {
        return line;
    }
    figures::FieldValues fields(*figures::figureTable()[std::size_t(cut->kind)].fields, false);
    figures::applyRecordValues(fields, cut->values);
    for (int f = 0; f < fields.count(); ++f) {
        if (fields.field(f).kind == figures::FieldKind::Spin) {
            figures::setValueText(fields, f, figures::valueText(fields, f));
        }
    }
    return figures::recordLine(int(cut->kind), cut->name, cut->whiteBackground,
                               figures::recordValues(fields));
}

} // namespace koyomi::bench
