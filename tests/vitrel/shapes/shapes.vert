#version 110
// Vertices in window pixels through the fixed-function matrices.
void main() {
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
