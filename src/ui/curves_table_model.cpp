// SPDX-License-Identifier: MIT
#include "src/ui/curves_table_model.h"

namespace kestrova {

void CurvesTableModel::setPage(const PageRecord& newPage) {
    page = newPage;
    if (!rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void CurvesTableModel::setChosen(const CurveChoice& choice) {
    beginResetModel();
    rows.clear();
    for (std::size_t curve = 0; curve < choice.size(); ++curve) {
        if (choice[curve]) {
            rows.push_back(curve);
        }
    }
    endResetModel();
}

void CurvesTableModel::setProfile(const OptionalProfile& newProfile) {
    profile = newProfile;
    if (!rows.empty()) {
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

int CurvesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int CurvesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kStepCount);
}

QVariant CurvesTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const std::size_t curve = curveAt(index.row());
    const auto step = static_cast<std::size_t>(index.column());
    const int value = readStepLine(page, step)[curve];
    switch (role) {
        case Qt::DisplayRole:
            return value;
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return pointText(curve, step, value, profile);
        case Qt::TextAlignmentRole:
            return static_cast<int>(Qt::AlignCenter);
        default:
            return {};
    }
}

QVariant CurvesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return tr("Step %1").arg(section);
    }
    return section < rowCount() ? curveLabel(curveAt(section), profile) : QVariant();
}

}  // namespace kestrova
