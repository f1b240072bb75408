// Starts the drive: checks that the browser can run it, loads the threaded program when the page
// is cross-origin isolated (SharedArrayBuffer is there) and the single-threaded one otherwise,
// and passes the program what only the page knows: the canvas's size, the keys, the mouse and
// whether the tab can be seen.
"use strict";
(function () {
  // The smallest module that uses a 128-bit vector instruction (i8x16.splat): a browser without
  // WebAssembly SIMD rejects it.
  const simdProbe = new Uint8Array([
    0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00,   // magic, version 1
    0x01, 0x05, 0x01, 0x60, 0x00, 0x01, 0x7b,         // one type: () -> v128
    0x03, 0x02, 0x01, 0x00,                           // one function of that type
    0x0a, 0x08, 0x01, 0x06, 0x00, 0x41, 0x00, 0xfd, 0x0f, 0x0b,   // i32.const 0, i8x16.splat
  ]);
  const hideCursorAfterMs = 2000;

  const canvas = document.getElementById("drive");
  const status = document.getElementById("status");

  function say(text) {
    status.textContent = text;
    status.hidden = false;
  }

  if (typeof WebAssembly !== "object" || typeof WebAssembly.validate !== "function") {
    say("Veldmark cannot run in this browser: it needs WebAssembly, which this browser does not have " +
        "or has switched off.");
    return;
  }
  if (!WebAssembly.validate(simdProbe)) {
    say("Veldmark cannot run in this browser: it needs WebAssembly SIMD (vector instructions), which " +
        "this browser does not have or has switched off. Current versions of Chrome, Edge, Firefox " +
        "and Safari have it.");
    return;
  }

  const threaded = self.crossOriginIsolated === true && typeof SharedArrayBuffer === "function";
  const program = threaded ? "veldmark-threads.js" : "veldmark.js";

  function fullscreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }

  function toggleFullscreen() {
    const root = document.documentElement;
    let done;
    if (fullscreenElement()) {
      done = document.exitFullscreen ? document.exitFullscreen() : document.webkitExitFullscreen();
    } else if (root.requestFullscreen) {
      done = root.requestFullscreen();
    } else if (root.webkitRequestFullscreen) {
      done = root.webkitRequestFullscreen();
    }
    // A browser may refuse (no user gesture, a policy): the drive simply stays as it is.
    if (done && typeof done.catch === "function") done.catch(function () {});
  }

  let cursorTimer = 0;
  function showCursorForAWhile() {
    canvas.style.cursor = "";
    clearTimeout(cursorTimer);
    if (fullscreenElement()) {
      cursorTimer = setTimeout(function () { canvas.style.cursor = "none"; }, hideCursorAfterMs);
    }
  }

  function sendSize(width, height, ratio) {
    Module._veldmark_resize(width, height, ratio);
  }

  function watchSize() {
    if (typeof ResizeObserver === "function") {
      const observer = new ResizeObserver(function (entries) {
        for (const entry of entries) {
          // Exact device pixels where the browser says them; CSS pixels times the ratio otherwise.
          if (entry.devicePixelContentBoxSize && entry.devicePixelContentBoxSize[0]) {
            const box = entry.devicePixelContentBoxSize[0];
            sendSize(box.inlineSize, box.blockSize, 1);
          } else {
            sendSize(entry.contentRect.width, entry.contentRect.height, window.devicePixelRatio || 1);
          }
        }
      });
      try {
        observer.observe(canvas, { box: "device-pixel-content-box" });
      } catch (e) {
        observer.observe(canvas);
      }
    }
    // A change of devicePixelRatio alone (a zoom, another display) and browsers without the
    // observer: the window's resize event.
    window.addEventListener("resize", function () {
      const rect = canvas.getBoundingClientRect();
      sendSize(rect.width, rect.height, window.devicePixelRatio || 1);
    });
    const rect = canvas.getBoundingClientRect();
    sendSize(rect.width, rect.height, window.devicePixelRatio || 1);
  }

  function started() {
    watchSize();
    canvas.addEventListener("click", toggleFullscreen);
    document.addEventListener("keydown", function (event) {
      if (event.ctrlKey || event.altKey || event.metaKey) return;
      if (event.code === "Space" || event.key === " ") {
        event.preventDefault();
        if (!event.repeat) document.body.dataset.paused = Module._veldmark_toggle_pause() ? "yes" : "no";
      } else if (event.code === "KeyF" || event.key === "f" || event.key === "F") {
        event.preventDefault();
        if (!event.repeat) toggleFullscreen();
      }
    });
    document.addEventListener("mousemove", showCursorForAWhile);
    document.addEventListener("fullscreenchange", showCursorForAWhile);
    document.addEventListener("webkitfullscreenchange", showCursorForAWhile);
    document.addEventListener("visibilitychange", function () {
      Module._veldmark_set_hidden(document.hidden ? 1 : 0);
    });
    Module._veldmark_set_hidden(document.hidden ? 1 : 0);
    document.body.dataset.started = "yes";
  }

  window.Module = {
    canvas: canvas,
    postRun: [started],
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    onAbort: function (what) { say("Veldmark stopped: " + what); },
  };
  const script = document.createElement("script");
  script.src = program;
  script.onerror = function () { say("Veldmark could not load " + program + " from this site."); };
  document.body.appendChild(script);
})();
