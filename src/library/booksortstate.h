#ifndef BOOKSORTSTATE_H
#define BOOKSORTSTATE_H

// The shelf order the user chose, persisted in the library database.
enum BookSortState
{
    EDefault = 0,
    EAuthor = 1,
    EBookName = 2
};

// Maps a stored number onto the order; false (state untouched) for any other number.
bool bookSortStateFromInt(int value, BookSortState &state);

#endif // BOOKSORTSTATE_H
