// The page side of velmora's window: the canvas is the client area, the
// frame around it can be resized like a window, and a line under it names
// the keys. On a touch screen a row of buttons types the keys, and a screen
// narrower than the window shows it scaled down. The program's own code
// decides everything else.
mergeInto(LibraryManager.library, {
  $velmoraPage: {
    canvas: null,
    context: null,

    // A tap types its button's character: a keypress event from the
    // button, which reaches the program exactly as a typed key does.
    wirePad: function(pad) {
      if (!pad) return;
      pad.addEventListener('click', function(event) {
        var button = event.target.closest('button');
        if (!button) return;
        var key = button.textContent;
        button.dispatchEvent(new KeyboardEvent('keypress', {
          key: key, charCode: key.charCodeAt(0), bubbles: true, cancelable: true,
        }));
      });
    },

    // Where the pointer is a finger, a screen narrower than the window
    // scales the window down as a picture: its size, and so the frames,
    // stay what they are. A mouse keeps the frame as it is, because its
    // corner is dragged to resize the window.
    fitToScreen: function(room, frame) {
      if (!room) return;
      var finger = matchMedia('(pointer: coarse)');
      var fit = function() {
        var scale = finger.matches ? Math.min(1, room.clientWidth / frame.offsetWidth) : 1;
        frame.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
        room.style.height = scale < 1 ? frame.offsetHeight * scale + 'px' : '';
      };
      new ResizeObserver(fit).observe(room);
      new ResizeObserver(fit).observe(frame);
      finger.addEventListener('change', fit);
    },
  },

  // Titles the page, sizes the client area and reports every change of
  // its size to velmora_window_resized, the first one at once.
  velmora_page_open__deps: ['$velmoraPage'],
  velmora_page_open: function(title, width, height) {
    var page = velmoraPage;
    document.title = UTF8ToString(title);
    var caption = document.getElementById('caption');
    if (caption) {
      caption.textContent = document.title;
      caption.style.maxWidth = width + 'px';
    }
    var frame = document.getElementById('frame');
    page.canvas = document.getElementById('window');
    page.canvas.width = width;
    page.canvas.height = height;
    frame.style.width = width + 'px';
    frame.style.height = height + 'px';
    document.getElementById('screen').hidden = false;
    page.context = page.canvas.getContext('2d', {alpha: false});
    new ResizeObserver(function() {
      var w = frame.clientWidth, h = frame.clientHeight;
      if (w == page.canvas.width && h == page.canvas.height && page.opened) return;
      page.opened = true;
      page.canvas.width = w;
      page.canvas.height = h;
      Module['_velmora_window_resized'](w, h);
    }).observe(frame);
    velmoraPage.wirePad(document.getElementById('pad'));
    velmoraPage.fitToScreen(document.getElementById('screen'), frame);
    // The picture stays at its last frame while the browser holds the
    // drawing back; the note says why, and goes when the drawing returns.
    Module['onDrawingTakenAway'] = function(away) {
      var note = document.getElementById('nogl');
      if (!note) return;
      note.textContent = 'The browser has taken Velmora\'s 3D drawing away for now, as it ' +
        'does with a page in the background or after a graphics reset. The cube keeps ' +
        'turning, and shows again when the browser gives the drawing back.';
      note.hidden = !away;
    };
  },

  velmora_page_fill_black__deps: ['$velmoraPage'],
  velmora_page_fill_black: function(width, height) {
    var context = velmoraPage.context;
    context.fillStyle = '#000';
    context.fillRect(0, 0, width, height);
  },

  // Red, green, blue, alpha rows, top first, straight from wasm memory.
  velmora_page_put__deps: ['$velmoraPage'],
  velmora_page_put: function(rgba, width, height) {
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    velmoraPage.context.putImageData(new ImageData(pixels, width, height), 0, 0);
    // When the page first showed a frame, after navigation began.
    if (Module['firstFrameTime'] === undefined) Module['firstFrameTime'] = performance.now();
  },

  // The drawing context could not be made: the program goes on with a
  // black window, so the page says why where the picture would be.
  velmora_page_no_drawing: function() {
    var note = document.getElementById('nogl');
    if (!note) return;
    var probe = document.createElement('canvas');
    var webgl = probe.getContext('webgl') || probe.getContext('experimental-webgl');
    note.textContent = webgl
      ? 'Velmora cannot draw here: this browser has WebGL, but would not give Velmora ' +
        'a drawing surface. Try reloading the page, updating the browser or the ' +
        'graphics driver, or another browser.'
      : 'Velmora cannot draw here: this browser offers no WebGL, the 3D drawing that ' +
        'Velmora needs. Try switching on WebGL or hardware acceleration in the ' +
        'browser\'s settings, updating the browser or the graphics driver, or another browser.';
    note.hidden = false;
  },

  velmora_page_ended: function() {
    var keys = document.getElementById('keys');
    if (keys) keys.textContent = 'Velmora has stopped (q). Reload the page to start it again.';
  },

  // The browser's own modal box, as a message box would be.
  velmora_page_message: function(text, caption) {
    var message = UTF8ToString(caption) + ': ' + UTF8ToString(text);
    console.error(message);
    if (!Module['testHoldTicks']) alert(message);
  },

  // Tests drive the ticks themselves, one by one, instead of the timer.
  velmora_page_ticks_held: function() {
    return Module['testHoldTicks'] ? 1 : 0;
  },
});
