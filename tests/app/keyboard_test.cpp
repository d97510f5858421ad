#include <gtest/gtest.h>
#include <cstdio>
#include "support/gl_window.h"
#include "app/window.h"
#include "scenes/display.h"
TEST(Dump, Frame) {
  openTestWindow();
  selectScene('1');
  display();
  Frame f = readFrame();
  FILE* o = fopen("/tmp/dump.ppm","wb");
  fprintf(o,"P6 %d %d 255\n",f.width,f.height);
  for (int y=f.height-1;y>=0;--y) fwrite(f.at(0,y),1,3*f.width,o);
  fclose(o);
}
