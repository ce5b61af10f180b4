#pragma once

class QWidget;

namespace tw {

class CFieldDoc;

/// The field's fertilizer consultation as modal pages over `parent`: the question pages, the
/// results page, one application page per application of the schedule, and the schedule page,
/// whose "&Finish >" writes the nutrient and schedule files into the working directory. True when
/// they were written; the caller then computes the field's season again from planting, since its
/// nitrogen balance reads them: `field.run_and_update(0, ViewHint::everything())`. False when the
/// user left the pages (Back from the first page, or a window closed) or the files could not be
/// written (after the message); nothing was written then.
bool run_fertilizer_wizard(QWidget *parent, CFieldDoc &field);

} // namespace tw
