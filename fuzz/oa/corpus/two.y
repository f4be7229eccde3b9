y1
y2&y3
