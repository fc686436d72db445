// The songs' expected shapes and a loader helper shared by the songs' tests.
#include "song_fixtures.h"

const SongShape& ShowShape() {
    static const SongShape shape{"show", &showSongImage, 12, 26, 10,   26, 4,
                                 125,    400 * 1024,     2,  9,  false};
    return shape;
}

const SongShape& HiddenShape() {
    static const SongShape shape{"hidden", &hiddenSongImage, 4, 19, 8,   13, 3,
                                 125,      150 * 1024,       0, 0,  true};
    return shape;
}

Song* LoadSongImage(const EmbeddedFile& image) {
    return SongFromMemory(image.data, image.size);
}
