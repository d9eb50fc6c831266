#pragma once
// A tab control does not hand its pages a height for their width, so a page of word-wrapped
// texts would be squeezed and its texts cut. Such a page therefore fixes its own minimum size:
// a width of `columns` average characters of its font (or more, if its controls need more) and
// the height its layout needs at that width. At any larger width the texts need less height, so
// they fit at every font size and window size. Call it again when the page's font changes.
class QWidget;

void FitWrappedPage(QWidget* page, int columns);
