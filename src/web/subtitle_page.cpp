#include "web/subtitle_page.hpp"

namespace pal4 {

// The outline is a ring of sixteen hard text shadows at the ring's width, the drop shadow one
// more under it (and under the ring's own shadow when both are on), as the overlay draws them.
// The text goes in through textContent, and the face through the style object, so nothing the
// game says is ever read as markup.
const std::string_view SUBTITLE_PAGE = R"PAGE(<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Pal4 subtitle</title>
<style>
html, body { margin: 0; background: transparent; overflow: hidden; }
#line { margin: 0; padding: 0.2em; white-space: pre-wrap; overflow-wrap: anywhere; }
</style>
</head>
<body>
<div id="line"></div>
<script>
(function () {
  var line = document.getElementById('line');
  function ring(width, color, dx, dy) {
    var shadows = [];
    for (var i = 0; i < 16; i++) {
      var angle = i * Math.PI / 8;
      shadows.push((dx + width * Math.cos(angle)).toFixed(1) + 'px ' +
                   (dy + width * Math.sin(angle)).toFixed(1) + 'px 0 ' + color);
    }
    return shadows;
  }
  function draw(state) {
    var style = line.style;
    style.fontFamily = JSON.stringify(String(state.font || '')) + ', sans-serif';
    style.fontSize = Number(state.size) + 'pt';
    style.color = state.color;
    style.fontWeight = state.bold ? 'bold' : 'normal';
    style.fontStyle = state.italic ? 'italic' : 'normal';
    style.textAlign = state.centred ? 'center' : 'left';
    var shadows = [];
    var offset = Number(state.shadowOffset);
    if (state.outline) {
      shadows = ring(Number(state.outlineWidth), state.outlineColor, 0, 0);
      if (state.shadow) {
        shadows = shadows.concat(ring(Number(state.outlineWidth), state.shadowColor, offset, offset));
      }
    }
    if (state.shadow) {
      shadows.push(offset + 'px ' + offset + 'px 0 ' + state.shadowColor);
    }
    style.textShadow = shadows.length ? shadows.join(', ') : 'none';
    line.textContent = String(state.text || '');
  }
  function connect() {
    var socket = new WebSocket('ws://' + location.host + '/subtitle');
    socket.onmessage = function (event) {
      try { draw(JSON.parse(event.data)); } catch (ignored) {}
    };
    socket.onclose = function () {
      line.textContent = '';
      setTimeout(connect, 1000);
    };
  }
  connect();
})();
</script>
</body>
</html>
)PAGE";

} // namespace pal4
