y1
y3
y9