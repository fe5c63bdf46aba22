#include "booksortstate.h"

bool bookSortStateFromInt(int value, BookSortState &state)
{
    switch (value) {
    case EDefault:
    case EAuthor:
    case EBookName:
        state = static_cast<BookSortState>(value);
        return true;
    default:
        return false;
    }
}
