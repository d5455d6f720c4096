#version 110
// The dual level meter: vertices arrive in view pixels (origin at the top-left,
// y downward) and go through the fixed-function matrices; the fragment stage
// gets the pixel position to shade by.
varying vec2 pixel;

void main() {
    pixel = gl_Vertex.xy;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
