y1,,y2

y3;y1@y2