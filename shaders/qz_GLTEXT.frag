#version 110
// The text colour, its alpha scaled by the glyph's coverage (an alpha-only
// texture on unit 0).
uniform sampler2D tex;
uniform vec4 color;
varying vec2 texCoord;

void main() {
    gl_FragColor = vec4(color.rgb, color.a * texture2D(tex, texCoord).a);
}
