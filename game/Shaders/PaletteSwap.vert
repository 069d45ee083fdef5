#version 110

// Fixed-pipeline pass-through: the engine draws in immediate mode with the matrix stack.
void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
