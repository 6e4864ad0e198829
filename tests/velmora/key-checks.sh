# The key checks velmora's smoke tests (the SDL window on X11 and Wayland,
# velmora.exe under Wine) make on a running window, and the picture measures
# they share. Source it; the caller defines shoot NAME (a picture of the
# client area as $tmp/NAME.png), type_keys CHARS and fail, and sets convert
# and tmp.

# lit FILE: how many pixels of the picture are not black.
lit() { $convert "$1" -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:; }
# differing A B: how many pixels differ between two pictures.
differing() { /usr/bin/compare -metric AE "$1" "$2" null: 2>&1 | sed 's/[^0-9].*//'; }

# outline_moved A B: how many pixels went from lit to black or back between
# shots A and B, whatever their colours did.
outline_moved() {
    $convert "$tmp/$1.png" -fill white +opaque black "$tmp/$1_mask.png"
    $convert "$tmp/$2.png" -fill white +opaque black "$tmp/$2_mask.png"
    differing "$tmp/$1_mask.png" "$tmp/$2_mask.png"
}

# check_zoom_and_tumble AREA: from a still cube of AREA lit pixels, <<< must
# grow it well past AREA, >>> bring it back near AREA, and g set it tumbling.
# Sets grown, back and tumbled for the caller's report.
check_zoom_and_tumble() {
    local area=$1
    type_keys "<<<"
    shoot bigger
    grown=$(lit "$tmp/bigger.png")
    [ "$grown" -gt $((area * 3 / 2)) ] || fail "<<<: $grown pixels lit, not well over $area"
    type_keys ">>>"
    shoot back
    back=$(lit "$tmp/back.png")
    [ $((back * 10)) -gt $((area * 9)) ] && [ $((back * 10)) -lt $((area * 11)) ] ||
        fail ">>>: $back pixels lit, not back near $area"
    type_keys "g"
    shoot tumble_a
    sleep 0.3
    shoot tumble_b
    tumbled=$(outline_moved tumble_a tumble_b)
    [ "$tumbled" -gt $((area / 20)) ] || fail "g: the cube does not tumble ($tumbled pixels)"
}
