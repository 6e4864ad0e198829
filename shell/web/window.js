// The page side of velmora's window: the canvas is the client area, the
// frame around it can be resized like a window, and a line under it names
// the keys. The program's own code decides everything else.
mergeInto(LibraryManager.library, {
  $velmoraPage: {
    canvas: null,
    context: null,
  },

  // Titles the page, sizes the client area and reports every change of
  // its size to velmora_window_resized, the first one at once.
  velmora_page_open__deps: ['$velmoraPage'],
  velmora_page_open: function(title, width, height) {
    var page = velmoraPage;
    document.title = UTF8ToString(title);
    var caption = document.getElementById('caption');
    if (caption) caption.textContent = document.title;
    var frame = document.getElementById('frame');
    page.canvas = document.getElementById('window');
    page.canvas.width = width;
    page.canvas.height = height;
    frame.style.width = width + 'px';
    frame.style.height = height + 'px';
    page.context = page.canvas.getContext('2d', {alpha: false});
    new ResizeObserver(function() {
      var w = frame.clientWidth, h = frame.clientHeight;
      if (w == page.canvas.width && h == page.canvas.height && page.opened) return;
      page.opened = true;
      page.canvas.width = w;
      page.canvas.height = h;
      Module['_velmora_window_resized'](w, h);
    }).observe(frame);
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
