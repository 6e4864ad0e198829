// The browser half of velmora's drawing context: a canvas that is never put
// on the page, with a WebGL 1 context whose drawing buffer is the surface
// every frame is rendered into before it is read back into the bitmap.
mergeInto(LibraryManager.library, {
  // Each context's event listeners, by handle, to be taken off with it.
  $velmoraDrawing: { listeners: {} },

  // losses: where in wasm memory the context's losses are counted.
  velmora_webgl_create__deps: ['$GL', '$velmoraDrawing'],
  velmora_webgl_create: function(width, height, losses) {
    if (typeof document == 'undefined') return 0;
    var canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    // No multisampling (the fixed pipeline's polygons have hard edges), a
    // depth buffer, and a buffer that keeps its pixels until they are read.
    var handle = GL.createContext(canvas, {
      majorVersion: 1, minorVersion: 0, alpha: true, depth: true, stencil: true,
      antialias: false, premultipliedAlpha: false, preserveDrawingBuffer: true,
      failIfMajorPerformanceCaveat: false, powerPreference: 'default'
    });
    if (!handle) return 0;
    var gl = GL.contexts[handle].GLctx;
    if (gl.drawingBufferWidth != width || gl.drawingBufferHeight != height) {
      GL.deleteContext(handle);
      return 0;
    }
    // A browser takes the context of a page in the background (phones) or
    // after a graphics reset. Asking for it back; the ticks go on meanwhile,
    // drawing nothing. Each loss is counted where the program reads it, so
    // that the first tick after the context's return rebuilds it even when
    // no tick ran while it was away.
    // Module.onDrawingTakenAway, when the page has one, is told of both.
    var listeners = {
      webglcontextlost: function(event) {
        event.preventDefault();
        HEAP32[losses >> 2] += 1;
        if (Module['onDrawingTakenAway']) Module['onDrawingTakenAway'](true);
      },
      webglcontextrestored: function() {
        if (Module['onDrawingTakenAway']) Module['onDrawingTakenAway'](false);
      },
    };
    for (var type in listeners) canvas.addEventListener(type, listeners[type]);
    velmoraDrawing.listeners[handle] = listeners;
    // Where a test finds the context to take it away on purpose.
    Module['drawingCanvas'] = canvas;
    return handle;
  },

  // 1 when the drawing buffer now has exactly the size asked for; otherwise
  // the old size is put back and 0 returned.
  velmora_webgl_resize__deps: ['$GL'],
  velmora_webgl_resize: function(handle, width, height) {
    var gl = GL.contexts[handle].GLctx;
    var canvas = gl.canvas;
    var oldWidth = canvas.width, oldHeight = canvas.height;
    canvas.width = width;
    canvas.height = height;
    if (gl.drawingBufferWidth == width && gl.drawingBufferHeight == height) return 1;
    canvas.width = oldWidth;
    canvas.height = oldHeight;
    return 0;
  },

  // The count of losses goes with the context: no event writes it after.
  velmora_webgl_destroy__deps: ['$GL', '$velmoraDrawing'],
  velmora_webgl_destroy: function(handle) {
    var canvas = GL.contexts[handle].GLctx.canvas;
    var listeners = velmoraDrawing.listeners[handle];
    for (var type in listeners) canvas.removeEventListener(type, listeners[type]);
    delete velmoraDrawing.listeners[handle];
    GL.deleteContext(handle);
  },
});
