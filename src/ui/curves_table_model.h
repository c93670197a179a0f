// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "src/model/page_record.h"
#include "src/ui/curves_geometry.h"
#include "src/ui/curves_labels.h"

namespace kestrova {

// The points of the chosen curves as a table, for screen readers and for reading the figures:
// a row per chosen curve (named as in the list), a column per step.
class CurvesTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPage(const PageRecord& page);
    void setChosen(const CurveChoice& choice);
    void setProfile(const OptionalProfile& profile);
    // The curve shown in a row.
    std::size_t curveAt(int row) const { return rows.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    PageRecord page = defaultPageRecord();
    std::vector<std::size_t> rows;
    OptionalProfile profile;
};

}  // namespace kestrova
