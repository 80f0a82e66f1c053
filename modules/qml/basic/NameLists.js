.pragma library

// The stored name lists (macros, profiles) as the pages read them. The store
// pads a list of one name with a marker entry, since a list of one would read
// back as a plain string; it is never a name.
var padEntry = "listpadentry"

// The names of a list as getNameList gives them, without the marker.
function namesOf(stored) {
    if (stored.length === 2 && String(stored[1]) === padEntry)
        return [stored[0]]
    return stored
}
