#version 110
// Stroke glyphs through the fixed-function matrices.
void main() {
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
