#pragma once

#include "platform/document.h"

#include <QTreeWidget>

namespace tw {

class CLocationDoc;

/// The upper pane of a location window: one line for each open field of the location, rebuilt
/// from the fields' season runs whenever the location's views are told of a change.
class CLocationSummary
    : public QTreeWidget
    , public DocumentView
{
    Q_OBJECT

public:
    explicit CLocationSummary(CLocationDoc &doc, QWidget *parent = nullptr);
    ~CLocationSummary() override;

    void rebuild();
    void on_update(ViewHint hint) override;

private:
    CLocationDoc &doc_;
};

} // namespace tw
