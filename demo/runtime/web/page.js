// The page side of wobblet's run-time: the canvas is the window's drawing
// area and the screen's picture; the page's title is the window's.
mergeInto(LibraryManager.library, {
  $wobbletPage: { canvas: null, context: null, rgba: null },

  // 0 when the page has no canvas for a window.
  wobblet_page_open_window__deps: ['$wobbletPage'],
  wobblet_page_open_window: function(title, width, height) {
    var canvas = document.getElementById('window');
    if (!canvas) return 0;
    document.title = UTF8ToString(title);
    var caption = document.getElementById('caption');
    if (caption) {
      caption.textContent = document.title;
      caption.style.width = width + 'px';
    }
    canvas.width = width;
    canvas.height = height;
    canvas.hidden = false;
    wobbletPage.canvas = canvas;
    wobbletPage.context = canvas.getContext('2d', {alpha: false});
    wobbletPage.context.fillStyle = '#000';
    wobbletPage.context.fillRect(0, 0, width, height);
    // Presenting puts only what changed: a canvas given back empty needs
    // the whole screen again.
    canvas.addEventListener('contextrestored', function() { wobbletPage.emptied = true; });
    return 1;
  },

  wobblet_page_take_emptied__deps: ['$wobbletPage'],
  wobblet_page_take_emptied: function() {
    var emptied = wobbletPage.emptied;
    wobbletPage.emptied = false;
    return emptied ? 1 : 0;
  },

  wobblet_page_close_window__deps: ['$wobbletPage'],
  wobblet_page_close_window: function() {
    wobbletPage.canvas = null;
    wobbletPage.context = null;
  },

  // Red, green, blue, alpha rows of one rectangle, straight from wasm
  // memory, put at (x, y).
  wobblet_page_put__deps: ['$wobbletPage'],
  wobblet_page_put: function(rgba, x, y, width, height) {
    if (!wobbletPage.context) return;
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    wobbletPage.context.putImageData(new ImageData(pixels, width, height), x, y);
    // For the tests: how much presenting has put into the canvas.
    Module['pixelsPut'] = (Module['pixelsPut'] || 0) + width * height;
    if (Module['firstFrameTime'] === undefined) Module['firstFrameTime'] = performance.now();
  },

  // Tests run the frames themselves instead of the display's refresh.
  wobblet_page_frames_held: function() {
    return Module['testHoldFrames'] ? 1 : 0;
  },
});
