#version 110
// Glyph quads of the text renderer: x, y of "coord" are already normalised
// device coordinates, s, t address the glyph texture.
attribute vec4 coord;
varying vec2 texCoord;

void main() {
    gl_Position = vec4(coord.xy, 0.0, 1.0);
    texCoord = coord.zw;
}
